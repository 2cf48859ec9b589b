#pragma once
// Beats and measures of the chart's song: where the beat and measure lines of the view fall,
// and the measure:beat and tempo read-out, from the song's time signatures (4/4 when it has
// none) and tempo changes, in chart ticks (768 a quarter note).

#include <cstdint>
#include <string>
#include <vector>

#include "TempoMap.h"

struct GridLine {
    int64_t tick = 0;      // chart ticks
    bool measure = false;  // the first beat of a measure
    int64_t number = 1;    // the measure it is in, from 1 (a partial last measure of a meter counts)
};

// The beat lines from `from` to `to` (chart ticks, inclusive), in order.
std::vector<GridLine> BeatLines(const CTempoMap& map, int64_t from, int64_t to);

// The start of the measure that holds `tick` (chart ticks).
int64_t MeasureStartAt(const CTempoMap& map, int64_t tick);

// "measure:beat" (both from 1) and the tempo in beats a minute with one decimal at `tick`,
// as "12:3  120.0 BPM".
std::string BeatReadout(const CTempoMap& map, int64_t tick);
