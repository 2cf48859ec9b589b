#pragma once
// Reading one track chunk into library events, and writing a track back as a chunk.

#include <cstdint>
#include <span>
#include <vector>

#include "LibTrack.h"

// Appends the events of a track chunk's body to `track` (see LibTrack.h for what goes
// where). Running status starts afresh with each chunk and is kept across meta and
// system-exclusive events. The track ends at its end-of-track event, at the end of the body,
// or where the data stops making sense (a data byte with no status before it, a system status
// 0xF1..0xFE, a length running past the body, a variable-length number over 4 bytes); what
// was read before stays.
void ReadLibTrackChunk(std::span<const uint8_t> body, CLibTrack& track);

// Appends a complete "MTrk" chunk for the track's events from its cursor on: the name first,
// then the events with the kept meta events at their times, then the end of the track.
// Events the stream cannot express (an unknown status, a system-exclusive index with no
// payload) are left out and their time goes to the next event.
void WriteLibTrackChunk(const CLibTrack& track, std::vector<uint8_t>& out);
