#include <array>

#include "RepairChecks.h"
#include "io/Clamp.h"

void ConvertToFormat1(CMidiSong& song) {
    if (!song.IsLoaded() || song.Format() != 0 || song.TrackCount() < 1) return;
    const CLibTrack& source = song.Track(0);

    std::vector<std::unique_ptr<CLibTrack>> tracks;
    for (int i = 0; i < 17; ++i) tracks.push_back(std::make_unique<CLibTrack>());
    std::array<uint64_t, 17> lastTime{};  // absolute source time of each new track's last event

    uint64_t now = 0;
    for (uint32_t i = source.cursor; i < source.Count(); ++i) {
        LibEvent event = source.Event(i);
        now += event.delta;
        std::size_t target = 0;
        if (event.status >= 0x80 && event.status < 0xF0)
            target = (event.status & 0x0F) + 1u;
        else if (event.status != kTempoStatus)
            continue;
        CLibTrack& track = *tracks[target];
        event.delta = ClampToU32(now - lastTime[target]);
        track.ReserveFree(1);
        track.Insert(event);
        lastTime[target] = now;
    }

    // What the song keeps beside its events stays with the tempo track: the song's name, its
    // time and key signatures, texts and lyrics, and where it ends.
    CLibTrack& tempo = *tracks[0];
    tempo.SetName(source.Name());
    tempo.metas = source.metas;
    tempo.endTime = source.endTime;

    song.ReplaceTracks(std::move(tracks), 1);
}
