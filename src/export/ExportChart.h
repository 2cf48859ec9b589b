#pragma once
// ExportChart: what the open seven-key games take from a chart, in their own terms: the
// player's notes on the song's clock, the timing points, the measures, the song information
// and the files that go beside the chart (the song's audio, the notes' own sounds).

#include <cstdint>
#include <string>
#include <vector>

#include "chart/BeatGrid.h"
#include "chart/Chart.h"
#include "chart/TimedNotes.h"

struct ExportChart {
    std::string title;
    std::string artist;   // the composer
    std::string creator;  // the chart's author
    std::string genre;    // the genre's name
    int level = 1;        // 1..10
    std::vector<TimedNote> notes;
    std::vector<TimingPoint> timing;
    std::vector<Measure> measures;  // up to the last note's end
    std::string audioFile;          // the song's audio beside the chart; empty: none
    // With keysounds: the file of each distinct sound, and for each note the index of its own
    // (the same order as `notes`); empty without.
    std::vector<std::string> sampleFiles;
    std::vector<int> noteSamples;
};

// The chart's player notes, timing points, measures and song information.
ExportChart ExportChartOf(const CChart& chart);
