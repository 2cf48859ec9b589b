#include <algorithm>
#include <vector>

#include "RepairChecks.h"
#include "io/Clamp.h"

bool SeparateTempoTrack(CMidiSong& song) {
    if (!song.IsLoaded() || song.Format() != 1 || song.TrackCount() < 1) return true;
    CLibTrack& tempo = song.Track(0);
    auto moved = std::make_unique<CLibTrack>();
    uint64_t now = 0, lastMoved = 0;
    auto isChannelVoice = [](const LibEvent& e) { return e.status >= 0x80 && e.status <= 0xEF; };
    for (uint32_t i = tempo.cursor; i < tempo.Count(); ++i) {
        LibEvent event = tempo.Event(i);
        now += event.delta;
        if (!isChannelVoice(event)) continue;
        event.delta = ClampToU32(now - lastMoved);
        lastMoved = now;
        moved->ReserveFree(1);
        moved->Insert(event);
    }
    if (moved->Count() == 0) return true;
    tempo.DeleteWhereKeepingTime(isChannelVoice);
    moved->endTime = tempo.endTime;

    std::vector<std::unique_ptr<CLibTrack>> tracks;
    tracks.push_back(std::make_unique<CLibTrack>(std::move(tempo)));
    tracks.push_back(std::move(moved));
    for (int t = 1; t < song.TrackCount(); ++t)
        tracks.push_back(std::make_unique<CLibTrack>(std::move(song.Track(t))));
    song.ReplaceTracks(std::move(tracks), 1);
    return false;
}
