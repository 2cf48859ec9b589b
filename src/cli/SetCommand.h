#pragma once
// `ryxtool set FILE.ryx [--title T] ...`: changes the named song information fields of a
// chart file and saves it in place through the editor's save path.

#include <filesystem>
#include <ostream>

#include "SongInfoOptions.h"

// Returns the process exit code: 0, or 2 after a message on `err` (a value out of range, a
// file that cannot be read or saved); on failure the file is untouched.
int RunSet(const std::filesystem::path& chartPath, const SongInfoOptions& options,
           const std::filesystem::path& tempDir, std::ostream& err);
