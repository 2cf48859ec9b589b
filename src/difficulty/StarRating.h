#pragma once
// StarRating: the difficulty of the player's notes on the scale seven-key players know, as
// osu!mania's star rating computes it for the same notes exported to osu! (lanes as columns,
// whole milliseconds, held notes as holds).
//
// The model: every note after the first raises a strain of its column (+2, decaying to 1/8
// a second) and an overall strain (+1, decaying to 0.3 a second), both by 1.25 when a
// held note of another column goes on past it; the overall strain takes an extra 0..1 when
// the note is a hold that ends while another hold is held (a logistic of how close the two
// ends are: centred on 24 ms). Within a chord the column strain is the chord's largest. The
// highest strain of each 400 ms section, sorted from the highest, is summed with weights
// 0.9^i and scaled by 0.018.

#include <cstdint>
#include <vector>

#include "chart/Chart.h"

struct ManiaNote {
    int64_t startMs = 0;
    int64_t endMs = 0;  // the start again for a plain note
    int column = 0;     // 0..6
};

struct StrainSection {
    double startMs = 0;  // the section's start
    double peak = 0;     // its highest strain
};

struct Difficulty {
    double stars = 0;
    std::vector<StrainSection> sections;  // in time order
};

// The rating of `notes` (any order: they are sorted as osu! sorts them).
Difficulty RateNotes(std::vector<ManiaNote> notes, int columns = 7);

// The player's notes of `chart` as osu! would read them from the export.
std::vector<ManiaNote> ManiaNotesOf(const CChart& chart);

// The rating of the chart's player notes.
Difficulty RateChart(const CChart& chart);

// The level 1..10 the rating suggests: 1.5 × stars, rounded.
int SuggestedLevel(double stars);
