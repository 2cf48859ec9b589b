#pragma once
// Transport: where playing stands in music time against a clock: started at a tick and a
// time, paused at a tick, resumed there. Pure arithmetic over the song's time base, which
// must outlive the transport while it plays (it copies nothing, so the sound thread may use
// it without allocating); the
// sequencer keeps one on the engine's thread and the engine's owner a copy that the same
// commands, with the same times, keep equal, so neither thread reads the other's.

#include <cstdint>
#include <optional>

#include "MusicClock.h"

class Transport {
  public:
    // Plays from music time `tick` at clock time `now` (seconds on a steady clock).
    void Start(const TimeBase& time, int64_t tick, double now);
    void Pause(double now);
    // Goes on from the paused tick, with the tempo in force there.
    void Resume(const TimeBase& time, double now);
    // The playback speed (1: as written) from clock time `now` on; playing goes on from where
    // it is then.
    void SetSpeed(double newSpeed, double now);
    double Speed() const { return speed; }
    void Stop();

    // Music time at clock time `now`: the start tick until the start time, the paused tick
    // while paused, 0 when stopped.
    int64_t Position(double now) const;
    // The song's milliseconds at clock time `now`: running on with the clock while playing,
    // before the start time too (a lead-in counts up to it); where it stands otherwise.
    double SongMs(double now) const;
    // The clock time music time `tick` is due (when playing).
    double DueAt(int64_t tick) const { return startTime + clock->SecondsUntil(tick); }

    bool Playing() const { return playing; }
    bool Paused() const { return paused; }
    int64_t PausedTick() const { return pausedTick; }

  private:
    std::optional<MusicClock> clock;
    double startTime = 0;  // clock time matching the clock's start tick
    double speed = 1;
    int64_t pausedTick = 0;
    bool playing = false;
    bool paused = false;
};
