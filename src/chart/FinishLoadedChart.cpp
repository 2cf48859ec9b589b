#include "FinishLoadedChart.h"

#include "OverlapPass.h"

void FinishLoadedChart(CChart& chart) {
    for (CNoteTrack& track : chart.tracks) {
        if (track.Count() == 0) break;
        if ((track.Notes()[0].status & 0x0F) == 9) track.instrument = kDrumInstrument;
    }
    RunOverlapPass(chart);
}
