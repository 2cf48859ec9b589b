#include "TimeBase.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kResolutionWhenNone = 96;

// Whole milliseconds of a stretch, halves up.
int64_t Rounded(double ms) {
    return static_cast<int64_t>(ms + 0.5);
}

}  // namespace

TimeBase::TimeBase(std::vector<TempoChange> changes, int ticks)
    : ticksPerQuarter(ticks > 0 ? ticks : kResolutionWhenNone) {
    for (const TempoChange& change : changes) {
        const int64_t tick = std::max<int64_t>(change.tick, 0);
        Segment& last = segments.back();
        if (tick < last.tick) continue;  // out of order: the earlier answer stands
        if (tick == last.tick) {
            last.tempo = change.tempo;
            continue;
        }
        const double stretch = Stretch(last, tick);
        segments.push_back({tick, last.ms + stretch, last.roundedMs + Rounded(stretch), change.tempo});
    }
}

const TimeBase::Segment& TimeBase::SegmentAt(int64_t tick) const {
    auto after = std::upper_bound(segments.begin(), segments.end(), tick,
                                  [](int64_t t, const Segment& s) { return t < s.tick; });
    return after == segments.begin() ? segments.front() : *(after - 1);
}

double TimeBase::Stretch(const Segment& s, int64_t tick) const {
    // Ticks into the stretch times milliseconds a tick, computed in this order: it is what a
    // conversion has always computed, so its rounding sees the very same numbers.
    const double rate = static_cast<double>(s.tempo) / ticksPerQuarter * 0.001;
    return static_cast<double>(tick - s.tick) * rate;
}

double TimeBase::MsInto(const Segment& s, int64_t tick) const {
    return s.ms + Stretch(s, tick);
}

uint32_t TimeBase::TempoAt(int64_t tick) const {
    return SegmentAt(tick).tempo;
}

double TimeBase::MsAt(int64_t tick) const {
    return MsInto(SegmentAt(tick), tick);
}

int64_t TimeBase::RoundedMsAt(int64_t tick) const {
    const Segment& s = SegmentAt(tick);
    return s.roundedMs + Rounded(Stretch(s, tick));
}

int64_t TimeBase::TickAtMs(double ms) const {
    if (ms < 0 || std::isnan(ms)) return -1;
    auto after = std::upper_bound(segments.begin(), segments.end(), ms,
                                  [](double t, const Segment& s) { return t < s.ms; });
    // Several segments can start at one time (time stood still between them): the last wins.
    const Segment& s = after == segments.begin() ? segments.front() : *(after - 1);
    if (s.tempo == 0) return std::numeric_limits<int64_t>::max();
    const double ticks = std::floor((ms - s.ms) * 1000.0 * ticksPerQuarter / s.tempo);
    if (!(ticks < 9.2e18 - static_cast<double>(s.tick))) return std::numeric_limits<int64_t>::max();
    int64_t tick = s.tick + static_cast<int64_t>(ticks);
    // The division and the product may each round by a hair: settle on the exact answer, a
    // tick or two away. Far out, where doubles no longer tell ticks apart, the estimate stands.
    constexpr int kSteps = 4;
    for (int step = 0; step < kSteps && tick > s.tick && MsInto(s, tick) > ms; ++step) --tick;
    for (int step = 0; step < kSteps && tick < std::numeric_limits<int64_t>::max() && MsInto(s, tick + 1) <= ms;
         ++step)
        ++tick;
    return tick;
}

int64_t ChartTicksOf(int64_t ticks, int resolution) {
    if (resolution <= 0) resolution = kResolutionWhenNone;
    return ticks / resolution * kTicksPerQuarter + ticks % resolution * kTicksPerQuarter / resolution;
}
