#pragma once
// `ryxtool check FILE.ryx [--gap TICKS]`: lists what would hurt a player or a reader of the
// chart, one finding a line.

#include <filesystem>
#include <ostream>

// 0 when nothing is found, 1 after printing the findings, 2 when the chart cannot be read.
int RunCheck(const std::filesystem::path& chartPath, int32_t gap, const std::filesystem::path& tempDir,
             std::ostream& out, std::ostream& err);
