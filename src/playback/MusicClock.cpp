#include "MusicClock.h"

MusicClock::MusicClock(const TimeBase& songTime, int64_t startTick, double speed)
    : time(&songTime), startMs(songTime.MsAt(startTick)), speed(speed) {}

MusicClock MusicClock::Rescaled(double seconds, double newSpeed) const {
    return MusicClock(time, SongMsAfter(seconds), newSpeed);
}

double MusicClock::SecondsUntil(int64_t tick) const {
    return (time->MsAt(tick) - startMs) / 1000.0 / speed;
}

double MusicClock::SongMsAt(int64_t tick) const {
    return time->MsAt(tick);
}

int64_t MusicClock::TickAfter(double seconds) const {
    return time->TickAtMs(SongMsAfter(seconds));
}
