#pragma once
// The chart files of the open seven-key games, as text, from an ExportChart:
// - osu!mania: an `.osu` file (file format v14, Mode 3, seven columns);
// - Quaver: a `.qua` file (YAML, Mode Keys7);
// - BMS: a `.bme` file (seven keys on channels 11-15, 18, 19; held notes as #LNTYPE 1 pairs
//   on 51-55, 58, 59; the song's audio on channel 01 at the start).
// Times are whole milliseconds where the format counts in milliseconds; a held note whose end
// rounds to its start is written as a plain note, as the games would refuse it.

#include <string>

#include "ExportChart.h"

struct OsuSettings {
    double overallDifficulty = 8;
    double hpDrain = 8;
};

std::string OsuText(const ExportChart& chart, const OsuSettings& settings = {});
std::string QuaText(const ExportChart& chart);
std::string BmsText(const ExportChart& chart);

// osu!'s column positions for lanes 0..6 (osu! reads the column as x × 7 ÷ 512, rounded down).
inline constexpr int kOsuColumnX[7] = {36, 109, 182, 256, 329, 402, 475};
// BMS channels of lanes 0..6 (first player side, seven keys), plain and held.
inline constexpr int kBmsChannel[7] = {11, 12, 13, 14, 15, 18, 19};
inline constexpr int kBmsLongChannel[7] = {51, 52, 53, 54, 55, 58, 59};
// BMS names sounds 02..ZY (01 is the song's audio, ZZ a note without a sound of its own).
inline constexpr std::size_t kBmsMostSounds = 36 * 36 - 3;
