#pragma once
// The notes a test-play judges: the player's notes on the song's clock (TimedPlayerNotes).

#include "chart/TimedNotes.h"

using TestNote = TimedNote;

inline std::vector<TestNote> NotesToPlay(const CChart& chart, int64_t fromTick) {
    return TimedPlayerNotes(chart, fromTick);
}
