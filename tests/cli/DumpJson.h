#pragma once
// The JSON that `ryxtool dump` prints for a chart file, for the command tests.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/DumpCommand.h"

inline nlohmann::json DumpJson(const std::filesystem::path& chart, const std::filesystem::path& tempDir) {
    std::ostringstream out, err;
    EXPECT_EQ(RunDump(chart, tempDir, out, err), 0) << err.str();
    return out.str().empty() ? nlohmann::json() : nlohmann::json::parse(out.str());
}
