#pragma once
// `ryxtool events FILE.mid`: prints what the program's MIDI file reader reads.

#include <filesystem>
#include <ostream>

// Returns the process exit code: 0, or 2 after one line on `err` when the file cannot be read
// or is not a Standard MIDI File.
int RunEvents(const std::filesystem::path& midiPath, std::ostream& out, std::ostream& err);
