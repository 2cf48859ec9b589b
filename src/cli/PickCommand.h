#pragma once
// `ryxtool pick FILE.ryx --stars X [--track N|all] [-o OUT]`: chooses the player's notes so their
// star rating lands near X, as the editor's Pick Notes does, and saves the chart (in place, or
// as OUT).

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

struct PickOptions {
    std::filesystem::path chart;
    std::optional<std::filesystem::path> output;
    double stars = 2;
    std::string track;  // a track 0..15, or all; empty: the chart's current track
};

// 0 after saying what was chosen and how close it came; 2 with one message for a bad option, a
// chart that cannot be read or a save that fails.
int RunPick(const PickOptions& options, const std::filesystem::path& tempDir, std::ostream& out,
            std::ostream& err);
