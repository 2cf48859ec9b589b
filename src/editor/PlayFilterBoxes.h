#pragma once
// The palette's two play filter boxes, "Play only Selected Track" (F5) and "Play Only Selected
// Notes" (F6), and what they ask of the chart's play filter.

#include "chart/Chart.h"

struct PlayFilterBoxes {
    bool selectedTrack = false;
    bool selectedNotes = false;
    bool selectedTrackEnabled = true;

    // F5: does nothing while "Play Only Selected Notes" is on; otherwise turns "Play only
    // Selected Track" on (only the current track sounds) or off (everything sounds).
    void ToggleSelectedTrack(CChart& chart, int currentTrack);
    // F6: turns "Play Only Selected Notes" on (only the player's notes sound; the other box
    // goes off and is disabled) or off (everything sounds; the other box is enabled).
    void ToggleSelectedNotes(CChart& chart);
    // The author picked another current track: with "Play only Selected Track" on, that
    // track is the one that sounds now.
    void CurrentTrackChanged(CChart& chart, int currentTrack) const;
};
