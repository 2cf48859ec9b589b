#include "FinishLoadedChart.h"

#include "OverlapPass.h"

namespace {

// Tracks whose first note is on channel 10 play with the drum instrument; tracks are looked at
// in order up to the first without notes.
void GiveDrumTracksTheDrumInstrument(CChart& chart) {
    for (CNoteTrack& track : chart.tracks) {
        if (track.Count() == 0) break;
        if ((track.Notes()[0].status & 0x0F) == 9) track.instrument = kDrumInstrument;
    }
}

}  // namespace

void FinishConvertedChart(CChart& chart) {
    GiveDrumTracksTheDrumInstrument(chart);
    RunOverlapPass(chart);
    // The pass hides notes as it goes, and a note that hid another may move away afterwards;
    // marking them again by the rule an opened chart uses shows the same chart either way.
    MarkHiddenNotes(chart);
}

void FinishOpenedChart(CChart& chart) {
    GiveDrumTracksTheDrumInstrument(chart);
    MarkHiddenNotes(chart);
}
