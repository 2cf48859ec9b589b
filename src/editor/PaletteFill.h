#pragma once
// What the tools palette shows for a chart that has just been loaded or converted.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/Chart.h"

struct PaletteFields {
    std::string title;
    std::string composer;
    std::string author;
    std::string extGenre;
    int level = 0;                       // index into the levels "1".."10"
    int genre = 0;                       // index into the genre table
    std::vector<std::string> trackRows;  // "<note count> <instrument name>", one per track with notes
    int selectedRow = 0;
};

// Fills the palette from the chart: the title falls back to the file's name, the composer to
// "Unknown", the author to `storedAuthor` (the author name kept in the settings) or else
// "Unknown". The track rows stop at the first track without notes; row 0 is selected.
PaletteFields FillFromChart(const CChart& chart, std::string_view fileTitle,
                            const std::optional<std::string>& storedAuthor,
                            const std::function<std::string(int32_t)>& instrumentName);

// What the extended-genre field keeps of what was typed: 7-bit text only; any other character
// empties the whole field.
std::string FilterExtendedGenre(const std::string& typed);

// Copies the palette's fields into the chart's song information, as a save does; the current
// track is the selected row.
void StorePaletteFields(const PaletteFields& fields, CSongInfo& info);
