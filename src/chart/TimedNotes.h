#pragma once
// The player's notes on the song's clock: the selection list, in its order, at or after a
// start point, each at its time in milliseconds on the chart's time base, in its lane, with
// the end of a held note. What test-play judges, export writes and the difficulty rates.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "Chart.h"

struct TimedNote {
    double timeMs = 0;            // from the song's start
    int lane = 0;                 // 0..6
    std::optional<double> endMs;  // a held note's end (time + length), else nothing
    int64_t tick = 0;             // its start, chart ticks
    std::optional<int64_t> endTick{};  // a held note's end, chart ticks
    std::size_t playerIndex = 0;  // where it is in the player's notes
};

// The player's notes of `chart` starting at or after `fromTick`.
std::vector<TimedNote> TimedPlayerNotes(const CChart& chart, int64_t fromTick = 0);
