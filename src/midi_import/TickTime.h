#pragma once
// Millisecond times of the events of a song read by CSmfFile.

#include <cstdint>
#include <vector>

#include "chart/Note.h"

// Sets `timeMs` of every event of a list in ascending tick order that holds the song's tempo
// events with the events of one track: the time base of those tempo events at `resolution`
// (the song's ticks per quarter note; 0 or less is read as 96), rounded as conversions store
// it (TimeBase::RoundedMsAt).
void ConvertTicksToMs(std::vector<CNote>& events, int resolution);

// The tempo of a Set Tempo meta event in microseconds per quarter note, or 0 when `event` is
// none.
uint32_t TempoOf(const CNote& event);
