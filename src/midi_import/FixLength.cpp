#include "RepairChecks.h"

void FixLength(CMidiSong& song) {
    if (!song.IsLoaded() || song.Format() == 0) return;
    for (int t = 1; t < song.TrackCount(); ++t) {
        CLibTrack& track = song.Track(t);
        if (TrackIsEmpty(track)) continue;
        track.Insert({0, static_cast<uint8_t>(0xB0 + song.TrackChannel(t)), 9, 0, 0});
    }
}
