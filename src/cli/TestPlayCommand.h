#pragma once
// `ryxtool testplay FILE.ryx (--input KEYS.csv | --autoplay) [--from TICKS] [--speed PERCENT]
// [--offset MS] [--json]`: judges key events against the chart's player notes as the editor's
// test-play does, and prints the totals (or every note's judgement as JSON).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>

struct TestPlayOptions {
    std::filesystem::path chart;
    std::optional<std::filesystem::path> input;  // ms,lane,down|up lines
    bool autoplay = false;                       // a perfect player instead
    int64_t from = 0;                            // chart ticks
    double speed = 100;                          // percent, 25..200
    double offset = 0;                           // ms taken off every key event
    bool json = false;
};

// 0 after printing the results; 2, with one message, for a chart or key file that cannot be
// read, a bad line of the key file, or options out of range.
int RunTestPlay(const TestPlayOptions& options, const std::filesystem::path& tempDir, std::ostream& out,
                std::ostream& err);
