#pragma once
// Where the program's data files ("Instlist.txt", "common/", the demo song) are.

#include <filesystem>

// The folder named by the RYX_DATA_DIR environment variable when it is set; otherwise the
// first of: "data" beside the executable, "../share/ryx-creator/data" from it, and the source
// tree's "data" folder this program was built from.
std::filesystem::path DefaultDataFolder(const char* argv0);
