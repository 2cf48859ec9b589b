#include "SongEnd.h"

#include <algorithm>

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

int64_t PlayEndTick(const CChart& chart) {
    const int64_t notesEnd = SongLengthTicks(chart);
    if (chart.songLengthMs <= 0) return notesEnd;
    return std::min(notesEnd, chart.tempoMap.ChartTime().TickAtMs(chart.songLengthMs));
}
