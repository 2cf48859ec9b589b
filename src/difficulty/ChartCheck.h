#pragma once
// The chart check: what would hurt a player or a reader of the chart file, one finding each,
// naming the track, the time (measure:beat and chart ticks) and the lane where it has them.

#include <cstdint>
#include <string>
#include <vector>

#include "chart/Chart.h"

struct ChartFinding {
    int track = -1;     // 0..15, 16 for the player's notes, -1 for the chart as a whole
    int64_t tick = -1;  // chart ticks, -1 when the finding has no time
    int lane = -1;      // 0..6, -1 when it has none
    std::string text;   // what is wrong, as the user reads it
};

// The findings, in this order: an empty player list, player notes of one lane closer than
// `gap` chart ticks, player notes that start inside a held player note of their lane, chords
// of more than three player notes at one tick, player notes hidden by the overlap pass, tracks over the file's note
// limit, texts over the field limit, a genre or level out of range, a level 3 or more from the
// one the star rating suggests, notes that start after
// the song's end (its stored length in milliseconds). The player's notes are the selection
// list when it changed since the player track was built, else the player track.
std::vector<ChartFinding> CheckChart(const CChart& chart, int32_t gap);

// One line for a finding: "track 3, 5:2 (tick 12288), lane 4: <text>".
std::string FindingLine(const CChart& chart, const ChartFinding& finding);
