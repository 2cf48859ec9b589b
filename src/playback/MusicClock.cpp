#include "MusicClock.h"

#include <algorithm>
#include <cmath>

#include "io/Clamp.h"

namespace {
double SecondsPerTick(uint32_t tempoUs) {
    return (tempoUs == 0 ? 500000.0 : tempoUs) / 1e6 / kChartTicksPerQuarter;
}
}  // namespace

MusicClock::MusicClock(const std::vector<TimedMessage>& messages, int64_t startTick, uint32_t startTempo) {
    segments.push_back({startTick, 0.0, SecondsPerTick(startTempo)});
    for (const TimedMessage& m : messages) {
        if (m.status != kTempoMessage || m.tick <= startTick) continue;
        const Segment& last = segments.back();
        segments.push_back(
            {m.tick, last.seconds + (m.tick - last.tick) * last.secondsPerTick, SecondsPerTick(m.tempo)});
    }
}

double MusicClock::SecondsUntil(int64_t tick) const {
    auto after = std::upper_bound(segments.begin(), segments.end(), tick,
                                  [](int64_t t, const Segment& s) { return t < s.tick; });
    const Segment& s = after == segments.begin() ? segments.front() : *(after - 1);
    return s.seconds + static_cast<double>(tick - s.tick) * s.secondsPerTick;
}

int64_t MusicClock::TickAfter(double seconds) const {
    auto after = std::upper_bound(segments.begin(), segments.end(), seconds,
                                  [](double t, const Segment& s) { return t < s.seconds; });
    const Segment& s = after == segments.begin() ? segments.front() : *(after - 1);
    return SaturatingAdd(s.tick, SaturatingTicks(std::floor((seconds - s.seconds) / s.secondsPerTick)));
}
