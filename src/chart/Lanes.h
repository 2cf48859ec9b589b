#pragma once
// Lanes of the chart view: the seven white keys of an octave, each black key going with the
// white key below it.

#include <cstdint>

inline constexpr int kLaneCount = 7;

// Lane 0..6 of a note with MIDI key `key`.
uint16_t LaneFromKey(uint8_t key);

// Two notes of one lane closer than this many chart ticks (an eighth of a quarter note) lie
// too close together: the overlap pass moves the later one aside, and a lane move refuses to
// put one beside the other.
inline constexpr int64_t kTooCloseTicks = 96;

// True when chart times `a` and `b` lie within kTooCloseTicks of each other (inclusive).
inline bool TooClose(int32_t a, int32_t b) {
    const int64_t gap = int64_t{a} - b;
    return gap <= kTooCloseTicks && gap >= -kTooCloseTicks;
}
