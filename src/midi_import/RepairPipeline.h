#pragma once
// The repair pipeline: loads the user's MIDI file into a CMidiSong and runs the six checks
// in order (format, junk messages, instrument patches, length, tempo, track count), each
// with its stage in the conversion log.

#include <filesystem>

#include "ConversionLog.h"
#include "MidiSong.h"

// True when the song is repaired; false when the pipeline stopped (a file that is not a MIDI
// file, or format 2), after saying why in the log.
bool RunRepairPipeline(CMidiSong& song, const std::filesystem::path& path, ConversionLog& log);
