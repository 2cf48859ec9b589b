#pragma once
// Finding a selected note's copy in the selection list and a copy's note in its track, and
// the rules that allow or refuse moving a note to another lane.

#include <cstdint>
#include <optional>

#include "chart/Chart.h"
#include "chart/Selection.h"  // FindCopy

// In the entry's track, the first note that is not hidden, starts at or after `position`, and
// has the entry's time and lane.
std::optional<uint32_t> FindSourceNote(const CChart& chart, const CNote& entry, int32_t position);

// Moving note i of `track` to `lane` is refused when another visible note among its ten
// neighbours on each side has that lane within 96 ticks, or, for a selected note, when a
// selection entry (from the position on, up to the note's time + window) has it within 96 ticks.
bool TrackNoteMoveAllowed(const CChart& chart, int track, uint32_t i, uint16_t lane, int32_t position,
                          int32_t window);

// Moving selection entry i to `lane` is refused when another entry among the ten before and
// nine after has that lane less than `window` ticks away, or when a visible note of the
// entry's track (from the position on) has it less than `window` ticks away.
bool ChartNoteMoveAllowed(const CChart& chart, int i, uint16_t lane, int32_t position, int32_t window);
