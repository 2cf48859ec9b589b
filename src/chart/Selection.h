#pragma once
// Choosing the player's notes: a selected track note has a copy in the chart's selection
// list. Two selected notes of one lane may not lie within `window` chart ticks of each other
// (the height of a note cell in the view: cellHeight × INTERVAL, 100 with the default
// settings), so Select refuses a note that would collide, including one already selected.

#include <cstdint>

#include "Chart.h"

inline constexpr int32_t kDefaultCollisionWindow = 10 * 10;  // cellHeight 10 × INTERVAL 10

// Selects note `index` of track `track`: refused (false) for a hidden note, a note that does
// not exist, or one whose lane holds a selected note within `window` ticks (inclusive).
bool Select(CChart& chart, int track, uint32_t index, int32_t window);

// Deselects note `index` of track `track` and removes the first selection entry with its time
// and lane. When no entry matches, nothing changes (false).
bool Deselect(CChart& chart, int track, uint32_t index);

// Select every note of the track that is neither hidden nor selected, in index order.
void SelectAllInTrack(CChart& chart, int track, int32_t window);
// Deselect every selected note of the track that is not hidden.
void DeselectAllInTrack(CChart& chart, int track);

// Before a save: a chart whose selection list is empty gets every visible note of the
// current track selected, so a saved chart has player notes whenever that track has any.
void SelectAllIfNoneSelected(CChart& chart, int currentTrack, int32_t window);
