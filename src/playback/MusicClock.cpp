#include "MusicClock.h"

MusicClock::MusicClock(const TimeBase& songTime, int64_t startTick)
    : time(&songTime), startMs(songTime.MsAt(startTick)) {}

double MusicClock::SecondsUntil(int64_t tick) const {
    return (time->MsAt(tick) - startMs) / 1000.0;
}

double MusicClock::SongMsAt(int64_t tick) const {
    return time->MsAt(tick);
}

int64_t MusicClock::TickAfter(double seconds) const {
    return time->TickAtMs(startMs + seconds * 1000.0);
}
