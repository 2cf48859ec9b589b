#include <algorithm>
#include <vector>

#include "RepairChecks.h"

bool SeparateTempoTrack(CMidiSong& song) {
    if (!song.IsLoaded() || song.Format() != 1 || song.TrackCount() < 1) return true;
    CLibTrack& tempo = song.Track(0);
    auto moved = std::make_unique<CLibTrack>();
    uint64_t now = 0, lastMoved = 0;
    for (uint32_t i = tempo.cursor; i < tempo.Count(); ++i) {
        LibEvent event = tempo.Event(i);
        now += event.delta;
        if (event.status == kTempoStatus) continue;
        event.delta = static_cast<uint32_t>(std::min<uint64_t>(now - lastMoved, UINT32_MAX));
        lastMoved = now;
        if (const SysExPayload* payload = tempo.PayloadOf(tempo.Event(i))) {
            moved->ReserveFree(1);
            moved->AppendSysEx(event.delta, *payload);
        } else {
            moved->ReserveFree(1);
            moved->Insert(event);
        }
    }
    if (moved->Count() == 0) return true;
    tempo.DeleteWhereKeepingTime([](const LibEvent& e) { return e.status != kTempoStatus; });
    moved->endTime = tempo.endTime;

    std::vector<std::unique_ptr<CLibTrack>> tracks;
    tracks.push_back(std::make_unique<CLibTrack>(std::move(tempo)));
    tracks.push_back(std::move(moved));
    for (int t = 1; t < song.TrackCount(); ++t)
        tracks.push_back(std::make_unique<CLibTrack>(std::move(song.Track(t))));
    song.ReplaceTracks(std::move(tracks), 1);
    return false;
}
