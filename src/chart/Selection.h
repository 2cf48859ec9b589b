#pragma once
// Choosing the player's notes: a selected track note has a copy in the chart's selection
// list. Two selected notes of one lane may not lie within `window` chart ticks of each other
// (the height of a note cell in the view: cellHeight × INTERVAL, 100 with the default
// settings), so Select refuses a note that would collide, including one already selected.

#include <cstdint>
#include <optional>

#include "Chart.h"

inline constexpr int32_t kDefaultCollisionWindow = 10 * 10;  // cellHeight 10 × INTERVAL 10

// Selects note `index` of track `track`: refused (false) for a hidden note, a note that does
// not exist, or one whose lane holds a selected note within `window` ticks (inclusive).
bool Select(CChart& chart, int track, uint32_t index, int32_t window);

// What Select puts in the selection list for a note it selects: a copy, never marked as swept
// by a rubber band (that mark belongs to the track note).
inline CNote SelectionCopy(const CNote& note) {
    CNote copy = note;
    copy.swept = false;
    return copy;
}

// The selection entry of a selected track note: the first entry with the note's time and lane.
std::optional<int> FindCopy(const CChart& chart, const CNote& trackNote);

// Deselects note `index` of track `track` and removes its entry (FindCopy). When no entry
// matches, nothing changes (false).
bool Deselect(CChart& chart, int track, uint32_t index);

// Select All calls select(index) for every note of the track that is neither hidden nor
// selected, in index order; Delete All calls deselect(index) for every visible selected note.
template <typename SelectNote>
void ForNotesToSelect(const CNoteTrack& notes, SelectNote select) {
    for (uint32_t i = 0; i < notes.Count(); ++i)
        if (!notes.At(i).hidden && !notes.At(i).selected) select(i);
}
template <typename DeselectNote>
void ForNotesToDeselect(const CNoteTrack& notes, DeselectNote deselect) {
    for (uint32_t i = 0; i < notes.Count(); ++i)
        if (!notes.At(i).hidden && notes.At(i).selected) deselect(i);
}

void SelectAllInTrack(CChart& chart, int track, int32_t window);
void DeselectAllInTrack(CChart& chart, int track);

// Before a save: a chart whose selection list is empty gets every visible note of the
// current track selected, so a saved chart has player notes whenever that track has any.
void SelectAllIfNoneSelected(CChart& chart, int currentTrack, int32_t window);
