#include "PlayFilterBoxes.h"

void PlayFilterBoxes::ToggleSelectedTrack(CChart& chart, int currentTrack) {
    if (selectedNotes) return;
    selectedTrack = !selectedTrack;
    chart.SetPlayFilter(selectedTrack ? static_cast<int16_t>(currentTrack) : kPlayAll);
}

void PlayFilterBoxes::ToggleSelectedNotes(CChart& chart) {
    if (!selectedNotes) {
        if (selectedTrack) {
            selectedTrack = false;
            chart.SetPlayFilter(kPlayAll);
        }
        selectedNotes = true;
        selectedTrackEnabled = false;
        chart.SetPlayFilter(kPlayPlayerOnly);
    } else {
        selectedNotes = false;
        selectedTrackEnabled = true;
        chart.SetPlayFilter(kPlayAll);
    }
}

void PlayFilterBoxes::CurrentTrackChanged(CChart& chart, int currentTrack) const {
    if (selectedTrack) chart.SetPlayFilter(static_cast<int16_t>(currentTrack));
}
