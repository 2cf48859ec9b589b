#pragma once
// Lanes of the chart view: the seven white keys of an octave, each black key going with the
// white key below it.

#include <cstdint>

inline constexpr int kLaneCount = 7;

// Lane 0..6 of a note with MIDI key `key`.
uint16_t LaneFromKey(uint8_t key);
