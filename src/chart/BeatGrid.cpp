#include "BeatGrid.h"

#include <algorithm>
#include <cstdio>

namespace {

// The meters in chart ticks, starting with 4/4 at 0 when the song sets none there.
struct ChartMeter {
    int64_t tick;
    int64_t beat;  // chart ticks a beat
    int numerator;
};

std::vector<ChartMeter> ChartMeters(const CTempoMap& map) {
    const int resolution = map.SongResolution() > 0 ? map.SongResolution() : kTicksPerQuarter;
    std::vector<ChartMeter> out{{0, kTicksPerQuarter, 4}};
    for (const CTempoMap::Meter& m : map.Meters()) {
        const int64_t tick = ChartTicksOf(m.tick, resolution);
        const ChartMeter meter{tick, kTicksPerQuarter * 4 / m.denominator, m.numerator};
        if (tick <= out.back().tick)
            out.back() = {out.back().tick, meter.beat, meter.numerator};
        else
            out.push_back(meter);
    }
    return out;
}

}  // namespace

std::vector<GridLine> BeatLines(const CTempoMap& map, int64_t from, int64_t to) {
    std::vector<GridLine> lines;
    const std::vector<ChartMeter> meters = ChartMeters(map);
    int64_t measuresBefore = 0;  // of the meters before this one
    for (std::size_t i = 0; i < meters.size(); ++i) {
        const ChartMeter& m = meters[i];
        const int64_t end = i + 1 < meters.size() ? meters[i + 1].tick : to + 1;
        const int64_t measureTicks = m.beat * m.numerator;
        if (end <= from) {
            measuresBefore += (end - m.tick + measureTicks - 1) / measureTicks;
            continue;
        }
        // The first beat of this meter at or after `from`.
        int64_t index = from > m.tick ? (from - m.tick + m.beat - 1) / m.beat : 0;
        for (int64_t tick = m.tick + index * m.beat; tick < end && tick <= to; tick += m.beat, ++index)
            lines.push_back({tick, index % m.numerator == 0, measuresBefore + index / m.numerator + 1});
        if (end > to) break;
        measuresBefore += (end - m.tick + measureTicks - 1) / measureTicks;
    }
    return lines;
}

std::vector<TimingPoint> TimingPoints(const CTempoMap& map) {
    const TimeBase& time = map.ChartTime();
    const int resolution = map.SongResolution() > 0 ? map.SongResolution() : kTicksPerQuarter;
    // Every tick where something changes.
    std::vector<int64_t> ticks{0};
    for (const CTempoMap::Entry& e : map.Entries()) ticks.push_back(ChartTicksOf(e.tick, resolution));
    const std::vector<ChartMeter> meters = ChartMeters(map);
    for (const ChartMeter& m : meters) ticks.push_back(m.tick);
    std::sort(ticks.begin(), ticks.end());
    ticks.erase(std::unique(ticks.begin(), ticks.end()), ticks.end());

    std::vector<TimingPoint> points;
    for (int64_t tick : ticks) {
        auto meter = std::upper_bound(meters.begin(), meters.end(), tick,
                                      [](int64_t t, const ChartMeter& m) { return t < m.tick; });
        const ChartMeter& m = *std::prev(meter);
        TimingPoint p{tick, time.MsAt(tick), time.TempoAt(tick), m.numerator,
                      static_cast<int>(kTicksPerQuarter * 4 / m.beat)};
        // A tempo event repeating what is in force changes nothing.
        if (!points.empty() && points.back().tempo == p.tempo && points.back().numerator == p.numerator &&
            points.back().denominator == p.denominator)
            continue;
        points.push_back(p);
    }
    return points;
}

std::vector<Measure> Measures(const CTempoMap& map, int64_t endTick) {
    const std::vector<ChartMeter> meters = ChartMeters(map);
    std::vector<Measure> measures;
    int64_t tick = 0;
    for (std::size_t i = 0; i < meters.size(); ++i) {
        const int64_t length = meters[i].beat * meters[i].numerator;
        const int64_t next = i + 1 < meters.size() ? meters[i + 1].tick : INT64_MAX;
        while (tick <= endTick && tick < next) {
            // A time signature placed inside a measure cuts it short there.
            const int64_t cut = std::min(length, next - tick);
            measures.push_back({tick, cut});
            tick += cut;
        }
        if (tick > endTick) break;
    }
    return measures;
}

int64_t MeasureStartAt(const CTempoMap& map, int64_t tick) {
    int64_t start = 0;
    for (const ChartMeter& m : ChartMeters(map)) {
        if (m.tick > tick) break;
        const int64_t measureTicks = m.beat * m.numerator;
        start = m.tick + (tick - m.tick) / measureTicks * measureTicks;
    }
    return start;
}

std::string BeatReadout(const CTempoMap& map, int64_t tick) {
    const std::vector<ChartMeter> meters = ChartMeters(map);
    int64_t measure = 1;
    int64_t beat = 1;
    for (std::size_t i = 0; i < meters.size(); ++i) {
        const ChartMeter& m = meters[i];
        const int64_t end = i + 1 < meters.size() ? meters[i + 1].tick : INT64_MAX;
        const int64_t measureTicks = m.beat * m.numerator;
        if (tick < end) {
            const int64_t into = std::max<int64_t>(tick - m.tick, 0);
            measure += into / measureTicks;
            beat = into % measureTicks / m.beat + 1;
            break;
        }
        // Whole measures of this meter (a partial last one counts as a measure).
        measure += (end - m.tick + measureTicks - 1) / measureTicks;
    }
    const uint32_t tempo = map.ChartTime().TempoAt(tick);
    const double bpm = tempo > 0 ? 60e6 / tempo : 0.0;
    char text[64];
    std::snprintf(text, sizeof text, "%lld:%lld  %.1f BPM", static_cast<long long>(measure),
                  static_cast<long long>(beat), bpm);
    return text;
}
