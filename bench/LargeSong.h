#pragma once
// The large song of the benchmarks: a format 1 file written by the library layer, with a
// conductor track holding a tempo change at every 4/4 measure and 16 tracks of 60,000 eighth
// notes each (about 1.93 million events), 480 ticks per quarter note.

#include <cstdint>
#include <vector>

std::vector<uint8_t> LargeSong();
