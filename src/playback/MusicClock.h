#pragma once
// MusicClock: music time (chart ticks) against real time from a start point, following the
// song's time base. The sequencer and the renderer read their time here.

#include <cstdint>

#include "chart/TimeBase.h"

class MusicClock {
  public:
    // Starts at `startTick` of `time` (chart ticks), with the tempo in force there. `time`
    // must outlive the clock (the song that holds it does): a clock is made when playing
    // starts, on the sound thread too, and copies nothing.
    MusicClock(const TimeBase& time, int64_t startTick);

    // Seconds from the start point until music time `tick` (at or after the start point).
    double SecondsUntil(int64_t tick) const;
    // Milliseconds of the song at `seconds` after the start point (before it, too).
    double SongMsAfter(double seconds) const { return startMs + seconds * 1000.0; }
    double SongMsAt(int64_t tick) const;
    // Music time `seconds` after the start point; saturates at INT64_MAX.
    int64_t TickAfter(double seconds) const;

  private:
    const TimeBase* time;
    double startMs;
};
