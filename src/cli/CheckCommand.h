#pragma once
// `ryxtool check FILE.ryx [--gap TICKS] [--json]`: the star rating of the player's notes and
// the level it suggests ("Difficulty: 3.42 stars, suggested level 5"), then what would hurt a
// player or a reader of the chart, one finding a line; or all of it as JSON.

#include <filesystem>
#include <ostream>

// 0 when nothing is found, 1 after printing the findings, 2 when the chart cannot be read.
int RunCheck(const std::filesystem::path& chartPath, int32_t gap, const std::filesystem::path& tempDir,
             std::ostream& out, std::ostream& err, bool json = false);
