#pragma once
// Where the program's data files ("Instlist.txt", "common/", the demo song) are.

#include <filesystem>

// The first of: "data" beside the executable, "../share/ryx-creator/data" from it, and the
// source tree's "data" folder this program was built from.
std::filesystem::path DefaultDataFolder(const char* argv0);
