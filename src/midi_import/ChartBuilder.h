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
    // songLengthMs, filledTracks and the chart's usedTrackCount.
    void Build(const CSmfFile& file, CChart& chart);

    // Copies of all events of the lists, ordered by time; on equal times the earlier list's
    // event comes first.
    static std::vector<CNote> Merge(const std::vector<const std::vector<CNote>*>& lists);

    // Adds the notes of `events` to chart track n; true when at least one note was added.
    bool ExtractNotes(const std::vector<CNote>& events, int n, CChart& chart);

    // Ticks per quarter note of the file (never 0; SMPTE and 0 divisions as SmfLayout.h says).
    int division = 0;
    uint16_t filledTracks = 0;
};
