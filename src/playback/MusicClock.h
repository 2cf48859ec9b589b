#pragma once
// MusicClock: music time (chart ticks) against real time from a start point, following the
// song's time base at a playback speed (1: as written; 0.5: half as fast, the same pitch).
// The sequencer, the transport and the renderer read their time here.

#include <cstdint>

#include "chart/TimeBase.h"

class MusicClock {
  public:
    // Starts at `startTick` of `time` (chart ticks), with the tempo in force there. `time`
    // must outlive the clock (the song that holds it does): a clock is made when playing
    // starts, on the sound thread too, and copies nothing. `speed` is above 0.
    MusicClock(const TimeBase& time, int64_t startTick, double speed = 1.0);

    // The same music from `seconds` after this clock's start point on, at `newSpeed`.
    MusicClock Rescaled(double seconds, double newSpeed) const;

    // Seconds from the start point until music time `tick` (at or after the start point).
    double SecondsUntil(int64_t tick) const;
    // Milliseconds of the song at `seconds` after the start point (before it, too).
    double SongMsAfter(double seconds) const { return startMs + seconds * 1000.0 * speed; }
    double SongMsAt(int64_t tick) const;
    // Music time `seconds` after the start point; saturates at INT64_MAX.
    int64_t TickAfter(double seconds) const;
    double Speed() const { return speed; }

  private:
    MusicClock(const TimeBase* time, double startMs, double speed) : time(time), startMs(startMs), speed(speed) {}

    const TimeBase* time;
    double startMs;
    double speed;
};
