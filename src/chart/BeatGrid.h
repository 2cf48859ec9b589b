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

// Where the song's tempo or time signature changes: what game charts call timing points.
struct TimingPoint {
    int64_t tick = 0;    // chart ticks
    double ms = 0;       // on the chart's time base
    uint32_t tempo = 0;  // microseconds a quarter note in force from here
    int numerator = 4;   // the time signature in force from here
    int denominator = 4;
};

// One point at tick 0 (120 bpm and 4/4 unless the song says otherwise there), then one at
// every later tick where the tempo or the time signature changes, in order.
std::vector<TimingPoint> TimingPoints(const CTempoMap& map);

// The measures from tick 0: where each starts and how long it is (chart ticks), until one
// reaches past `endTick`.
struct Measure {
    int64_t tick = 0;
    int64_t length = 0;
};
std::vector<Measure> Measures(const CTempoMap& map, int64_t endTick);

// The start of the measure that holds `tick` (chart ticks).
int64_t MeasureStartAt(const CTempoMap& map, int64_t tick);

// "measure:beat" (both from 1) and the tempo in beats a minute with one decimal at `tick`,
// as "12:3  120.0 BPM".
std::string BeatReadout(const CTempoMap& map, int64_t tick);
