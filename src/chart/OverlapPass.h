#pragma once
// The overlap pass that runs when a chart is converted, over tracks 0 to usedTrackCount - 1:
// of two notes of one track and lane that start at the same tick, the one with the lower key
// is hidden (not drawn, not selectable); a note followed in its lane by another less than 96
// ticks later moves to a free lane. Its lane moves are not idempotent (lanes that went through
// it would move again), so it never runs on an opened chart.

#include "Chart.h"

void RunOverlapPass(CChart& chart);

// Marks the hidden notes of tracks 0 to usedTrackCount - 1 and leaves every lane alone: of the
// notes of one track that share a lane and a start tick, all but the one with the highest key
// (the last of equal keys) are hidden. `hidden` is not stored in chart files, so an opened
// chart rebuilds it with this rule.
void MarkHiddenNotes(CChart& chart);
