#pragma once
// Byte-exact Standard MIDI Files made in code for tests.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

Bytes Join(std::initializer_list<Bytes> parts);
Bytes VarLen(uint32_t value);
// One event: the delta time, then the event's bytes as given.
Bytes Ev(uint32_t delta, Bytes bytes);
Bytes Meta(uint32_t delta, uint8_t type, Bytes data);
Bytes MetaText(uint32_t delta, uint8_t type, const std::string& text);
Bytes EndOfTrack(uint32_t delta = 0);
// A tempo meta event: microseconds per quarter note.
Bytes Tempo(uint32_t delta, uint32_t usPerQuarter);
// A chunk: the 4-character id, the length (the body's unless given) and the body.
Bytes Chunk(const char* id, const Bytes& body, int64_t declaredLength = -1);
Bytes Track(std::initializer_list<Bytes> events);
Bytes Header(uint16_t format, uint16_t tracks, uint16_t division, uint32_t length = 6);
// A whole file: the header for these tracks, then the tracks.
Bytes Smf(uint16_t format, uint16_t division, std::initializer_list<Bytes> tracks);
// The file wrapped in a RIFF "RMID" file.
Bytes Rmid(const Bytes& smf);

// A format 1 song shaped like a busy real one, the same for the same seed: a conductor track
// and `tracks` tracks (one on the drum channel) of chords, sixteenth runs, grace notes a few
// ticks apart and repeated keys, at 480 ticks a quarter note.
Bytes BusySong(uint32_t seed, int tracks, int notesPerTrack);
