#pragma once
// CChartBuilder: turns a repaired song read by CSmfFile into the chart's tracks.
//
// Every file track with note-ons fills the next chart track (at most 16), merged with the
// tempo track for its millisecond times. A note runs from a note-on to the first later event
// on the same key and channel with velocity 0 or a note-off status, searched over at most the
// 1002 following events (a longer note gets length 0; a note never ended is dropped). Times
// become chart ticks: start × 768 / division, length × 740 / division.

#include <cstdint>
#include <vector>

#include "SmfFile.h"
#include "chart/Chart.h"

class CChartBuilder {
  public:
    // Fills the chart's tracks (already reset) from `file`, sets every instrument,
    // songLengthMs, filledTracks and the chart's usedTrackCount. The events are taken out of
    // the file track by track (its event lists are left empty), so a large song is never held
    // twice.
    void Build(CSmfFile& file, CChart& chart);

    // Merges the tempo track's events into a track's events (both ordered by time); on equal
    // times the tempo track's event comes first.
    static void MergeTempoInto(const std::vector<CNote>& tempo, std::vector<CNote>& events);

    // Makes the notes of `events` (a track merged with the tempo track, millisecond times
    // set) the notes of chart track n, taking `events` over; true when a note-on was found.
    bool ExtractNotes(std::vector<CNote>& events, int n, CChart& chart);

    // Ticks per quarter note of the file (never 0; SMPTE and 0 divisions as SmfLayout.h says).
    int division = 0;
    uint16_t filledTracks = 0;
};
