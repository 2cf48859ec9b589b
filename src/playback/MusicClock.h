#pragma once
// MusicClock: music time (chart ticks) against real time, following the song's tempo changes
// from a start point. Pure arithmetic; the sequencer and the renderer read their time here.

#include <cstdint>
#include <vector>

#include "TimedMessage.h"

class MusicClock {
  public:
    // Starts at `startTick` with `startTempo` (microseconds per quarter note) in force; the
    // tempo changes of `messages` after the start point change it.
    MusicClock(const std::vector<TimedMessage>& messages, int64_t startTick, uint32_t startTempo);

    // Seconds from the start point until music time `tick` (at or after the start point).
    double SecondsUntil(int64_t tick) const;
    // Music time `seconds` after the start point.
    int64_t TickAfter(double seconds) const;

  private:
    struct Segment {
        int64_t tick;    // where this tempo begins
        double seconds;  // seconds from the start point to `tick`
        double secondsPerTick;
    };
    std::vector<Segment> segments;
};
