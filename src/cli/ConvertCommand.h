#pragma once
// `ryxtool convert IN.mid [-o OUT.ryx] ...`: converts a MIDI file into a chart exactly as the
// editor does for Open MIDI, OK, OK and Save, and saves it.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "SongInfoOptions.h"

struct ConvertOptions {
    std::filesystem::path input;
    std::optional<std::filesystem::path> output;  // default: the input with extension .ryx
    SongInfoOptions songInfo;                     // overrides of the palette's fields
};

// Prints the conversion log to `out` ("\n" line ends). Returns 0 when the chart is saved, 1
// when the conversion stops (nothing written), 2 for bad options or a file that cannot be
// written, after a message on `err`.
int RunConvert(const ConvertOptions& options, const std::filesystem::path& tempDir, std::ostream& out,
               std::ostream& err);
