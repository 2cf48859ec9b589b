#pragma once
// Helpers of the command tests: the demo song converted by `ryxtool convert`, and the JSON
// that `ryxtool dump` prints for a chart file.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/ConvertCommand.h"
#include "cli/DumpCommand.h"

inline nlohmann::json DumpJson(const std::filesystem::path& chart, const std::filesystem::path& tempDir) {
    std::ostringstream out, err;
    EXPECT_EQ(RunDump(chart, tempDir, out, err), 0) << err.str();
    return out.str().empty() ? nlohmann::json() : nlohmann::json::parse(out.str());
}

// Converts the demo song to `output`, as `ryxtool convert` does; returns what it printed.
inline std::string ConvertDemoSong(const std::filesystem::path& output,
                                   const std::filesystem::path& tempDir) {
    ConvertOptions options;
    options.input = std::filesystem::path(RYX_SOURCE_DIR) / "data" / "demo.mid";
    options.output = output;
    std::ostringstream out, err;
    EXPECT_EQ(RunConvert(options, tempDir, out, err), 0) << err.str();
    return out.str();
}
