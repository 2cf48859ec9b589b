#pragma once
// ViewGeometry: every size and fixed rectangle of the chart view, in pixels, for the large
// layout (screens wider than 900 pixels) or the small one, at the layout's own height or taller.
//
// Columns 0..6 are the current track's lanes, column 7 the scroll column, columns 8..14 the
// chart's lanes; column c starts at x = margin + c × pitch.

#include <string>

#include "Pixels.h"

struct ViewGeometry {
    static ViewGeometry ForScreenWidth(int screenWidth);
    static ViewGeometry Large();
    static ViewGeometry Small();
    // The same layout `height` pixels tall (never less than the layout's own height): the lanes
    // use the height, showing more time; the width stays.
    ViewGeometry WithHeight(int height) const;

    bool large = true;
    int margin = 10;
    int noteWidth = 30;
    int laneGap = 5;
    int laneHeight = 580;
    int laneWidth = 30;
    int cellHeight = 10;
    int buttonHeight = 20;
    int width = 540;
    int height = 600;
    std::string bitmapFolder = "common/1024x720/";

    // Derived values.
    int Pitch() const { return laneWidth + laneGap; }
    int TopLimit() const { return laneHeight - cellHeight; }
    int ColumnX(int column) const { return margin + column * Pitch(); }
    int ScrollX() const { return ColumnX(7); }
    int Bottom() const { return margin + laneHeight; }  // y of the lanes' bottom edge

    // Fixed rectangles.
    Rect View() const { return {0, 0, width, height}; }
    Rect TrackArea() const { return {0, 0, ScrollX(), height}; }
    Rect ChartArea() const { return {ScrollX() + laneWidth, 0, width, height}; }
    Rect ScrollColumn() const { return {ScrollX(), margin, ScrollX() + laneWidth, Bottom()}; }
    Rect UpButton() const { return {ScrollX(), margin, ScrollX() + laneWidth, margin + buttonHeight}; }
    Rect DownButton() const { return {ScrollX(), Bottom() - buttonHeight, ScrollX() + laneWidth, Bottom()}; }

    // Lane 0..6 under x in the track area, or in the chart area: bands one pitch wide centred
    // on the gaps; points left of the first band give 0, right of the last 6.
    int TrackLaneAt(int x) const { return LaneAt(x, 0); }
    int ChartLaneAt(int x) const { return LaneAt(x, 8); }

  private:
    int LaneAt(int x, int firstColumn) const;
};
