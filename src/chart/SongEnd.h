#pragma once
// Where a chart's song ends, for the view's scroll range and for how far playing and
// rendering go. A note placed after the song's stored length (only a damaged or hand-edited
// file has one) lies past the end: it is neither played nor rendered, and the chart check
// reports it.

#include <cstdint>

#include "Chart.h"

// The view's song length in chart ticks: the largest time + length of the last note of each
// used track.
int32_t SongLengthTicks(const CChart& chart);

// The chart tick where playing and rendering end: the song's stored length (songLengthMs) on
// the tempo map, never after the view's song length; the view's song length for a chart
// without a stored length.
int64_t PlayEndTick(const CChart& chart);
