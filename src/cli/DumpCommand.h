#pragma once
// `ryxtool dump FILE.ryx`: prints the chart as JSON.

#include <filesystem>
#include <ostream>

// Returns the process exit code: 0, or 2 after one line on `err` when the file cannot be read.
int RunDump(const std::filesystem::path& chartPath, const std::filesystem::path& tempDir, std::ostream& out,
            std::ostream& err);
