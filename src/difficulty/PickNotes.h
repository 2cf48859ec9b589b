#pragma once
// PickNotes: chooses the player's notes from one track (or all) so that their star rating lands
// near a target. It prefers what a player expects to play — notes on strong beats, then the
// longest, loudest and highest (the melody) — keeps each note in its lane, holds the notes long
// enough to hold, and never makes a chart-check finding: no two notes of one lane closer than
// the gap, no note inside a held note of its lane, no chord of more than three notes.

#include <cstdint>
#include <optional>
#include <vector>

#include "chart/Chart.h"

struct PickedNote {
    int track = 0;
    uint32_t index = 0;  // in its track
    bool held = false;   // the player holds it
};

struct PickResult {
    std::vector<PickedNote> notes;  // in time order
    double stars = 0;               // their rating
    bool withinTolerance = false;   // within 5 % of the target
};

struct PickSettings {
    double stars = 2;                // the target rating
    std::optional<int> track;        // a track 0..15; nothing: every track
    int32_t gap = 100;               // closest two notes of one lane may be, chart ticks
    int32_t longLength = 768;        // the shortest note that is held
};

PickResult PickNotes(const CChart& chart, const PickSettings& settings);
