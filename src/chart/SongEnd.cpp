#include "SongEnd.h"

#include <algorithm>
#include <climits>

#include "io/Clamp.h"

int32_t SongLengthTicks(const CChart& chart) {
    int64_t length = 0;
    for (int t = 0; t < chart.usedTrackCount && t < kTrackCount; ++t) {
        const CNoteTrack& track = chart.tracks[static_cast<std::size_t>(t)];
        if (track.Count() == 0) continue;
        const CNote& last = track.At(track.Count() - 1);
        length = std::max(length, int64_t{last.time} + last.length);
    }
    return ClampToI32(length);
}

double MsAtTick(const CTempoMap& map, int64_t tick) {
    const double resolution = map.SongResolution() > 0 ? map.SongResolution() : 768.0;
    double ms = 0;
    int64_t at = 0;
    uint32_t tempo = kDefaultTempo;
    for (const CTempoMap::Entry& e : map.Entries()) {
        const auto entryTick = static_cast<int64_t>(e.tick * 768.0 / resolution);
        if (entryTick >= tick) break;
        ms += static_cast<double>(entryTick - at) * tempo / 768.0 / 1000.0;
        at = entryTick;
        tempo = e.tempo;
    }
    return ms + static_cast<double>(tick - at) * tempo / 768.0 / 1000.0;
}

int64_t LastTickAtOrBefore(const CTempoMap& map, double ms) {
    if (ms < 0) return -1;
    // MsAtTick never decreases, so a binary search over the ticks a chart can hold answers.
    int64_t low = 0, high = INT32_MAX;
    while (low < high) {
        const int64_t mid = low + (high - low + 1) / 2;
        if (MsAtTick(map, mid) <= ms)
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

int64_t PlayEndTick(const CChart& chart) {
    const int64_t notesEnd = SongLengthTicks(chart);
    if (chart.songLengthMs <= 0) return notesEnd;
    return std::min(notesEnd, LastTickAtOrBefore(chart.tempoMap, chart.songLengthMs));
}
