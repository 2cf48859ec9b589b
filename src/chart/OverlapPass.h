#pragma once
// The overlap pass that runs whenever a chart is loaded or converted, over tracks 0 to
// usedTrackCount - 1: of two notes of one track and lane that start at the same tick, the one
// with the lower key is hidden (not drawn, not selectable); a note followed in its lane by
// another less than 96 ticks later moves to a free lane.

#include "Chart.h"

void RunOverlapPass(CChart& chart);
