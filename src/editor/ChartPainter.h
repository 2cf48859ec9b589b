#pragma once
// Paints the chart view into the back buffer and presents it: black background (first frame
// only), white lane strips, the scroll column, then with a chart the current track's notes on
// the left, the selection list on the right, the thumb, pressed scroll buttons and the
// rubber band's outline.
//
// Note cells of "note.bmp" (one cell is laneWidth × cellHeight): 0..15 short selected heads
// by track, 16..31 long selected heads, 32..47 caps of held selected notes, 48..63 their body
// slices; 64..67 the same four for unselected notes.

#include <optional>

#include "ChartView.h"
#include "DrawScreen.h"

void PaintChartView(ChartView& view, DrawScreen& screen);

// The colour of track `track`'s player notes in the view (the middle of their head cell), or
// nothing before the artwork is loaded.
std::optional<Colour> PlayerNoteColour(const ChartView& view, int track);

// Cell indexes of note.bmp.
struct NoteCells {
    int shortHead, longHead, cap, slice;
    static NoteCells For(bool selected, int track) {
        if (!selected) return {64, 65, 66, 67};
        return {track, 16 + track, 32 + track, 48 + track};
    }
};
