// Fuzz target: a chart's song as playback reads it (the "mid" segment of a chart file is
// outside bytes), then the state at a start point, the play schedule and its music clock.

#include <cstdint>
#include <span>

#include "playback/MusicClock.h"
#include "playback/PlaySchedule.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SongTimeline song;
    if (!SongTimeline::FromSongBytes(std::span<const uint8_t>(data, size), song)) return 0;
    CChart chart;
    const int64_t start = song.Messages().empty() ? 0 : song.Messages()[song.Messages().size() / 2].tick;
    const std::vector<ScheduledMessage> schedule = BuildPlaySchedule(chart, song, start);
    const MusicClock clock(song.Time(), start);
    for (const ScheduledMessage& m : schedule) clock.TickAfter(clock.SecondsUntil(m.message.tick));
    return 0;
}
