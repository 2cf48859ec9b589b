#include "ViewGeometry.h"

#include <algorithm>

ViewGeometry ViewGeometry::ForScreenWidth(int screenWidth) {
    return screenWidth >= 901 ? Large() : Small();
}

ViewGeometry ViewGeometry::Large() {
    return ViewGeometry{};
}

ViewGeometry ViewGeometry::Small() {
    ViewGeometry g;
    g.large = false;
    g.margin = 5;
    g.noteWidth = 20;
    g.laneGap = 5;
    g.laneHeight = 390;
    g.laneWidth = 20;
    g.cellHeight = 5;
    g.buttonHeight = 10;
    g.width = 380;
    g.height = 400;
    g.bitmapFolder = "common/800x600/";
    return g;
}

ViewGeometry ViewGeometry::WithHeight(int newHeight) const {
    ViewGeometry g = *this;
    const int least = large ? Large().height : Small().height;
    g.height = std::max(newHeight, least);
    g.laneHeight = g.height - 2 * margin;
    return g;
}

int ViewGeometry::LaneAt(int x, int firstColumn) const {
    const int start = margin - laneGap / 2 + firstColumn * Pitch();
    for (int lane = 0; lane < 6; ++lane) {
        if (x < start + (lane + 1) * Pitch()) return lane;
    }
    return 6;
}
