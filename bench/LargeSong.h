#pragma once
// The large song of the benchmarks: a format 1 file written by the library layer, with a
// conductor track holding a tempo change at every 4/4 measure and 16 tracks of 60,000 eighth
// notes each (about 1.93 million events), 480 ticks per quarter note.

#include <cstdint>
#include <vector>

std::vector<uint8_t> LargeSong();

// A format 0 song of `events` back-to-back 3-byte events (a delta byte and two data bytes under
// running status): notes switched on and off, the densest a MIDI file can be. Peak memory of a
// conversion is measured against its size.
std::vector<uint8_t> DenseSong(std::size_t events);
