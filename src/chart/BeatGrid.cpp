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
