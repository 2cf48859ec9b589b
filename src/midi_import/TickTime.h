#pragma once
// Millisecond times of the events of a song read by CSmfFile.

#include <cstdint>
#include <vector>

#include "chart/Note.h"

// Sets `timeMs` of every event of a list in ascending tick order that holds the song's tempo
// events with the events of one track. Starts at 120 beats per minute; each tempo event
// changes the tempo for the events after it and keeps the time computed before the change.
// Milliseconds are rounded per tempo segment (halves up) and added up segment by segment.
// `resolution` is the song's ticks per quarter note; 0 or less is read as 96.
void ConvertTicksToMs(std::vector<CNote>& events, int resolution);

// The tempo of a Set Tempo meta event in microseconds per quarter note, or 0 when `event` is
// none.
uint32_t TempoOf(const CNote& event);
