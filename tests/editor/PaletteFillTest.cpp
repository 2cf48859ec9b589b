// What the tools palette shows for a loaded chart, and what it stores back.

#include <gtest/gtest.h>

#include "editor/PaletteFill.h"
#include "support/TestChart.h"

TEST(PaletteFill, FallsBackToFileNameUnknownAndTheStoredAuthor) {
    CChart chart;
    chart.tracks[0].Append(MakeNote(0, 60));
    chart.tracks[0].Append(MakeNote(10, 62));
    chart.tracks[1].Append(MakeNote(0, 36, 1));
    chart.tracks[1].At(0).status = 0x99;
    chart.tracks[1].instrument = kDrumInstrument;
    chart.tracks[3].Append(MakeNote(0, 36, 3));  // after an empty track: not listed
    chart.tracks[0].instrument = 5;
    auto names = [](int32_t code) {
        return code == kDrumInstrument ? std::string("Drums") : "P" + std::to_string(code);
    };

    PaletteFields fields = FillFromChart(chart, "song", std::nullopt, names);
    EXPECT_EQ(fields.title, "song");
    EXPECT_EQ(fields.composer, "Unknown");
    EXPECT_EQ(fields.author, "Unknown");
    EXPECT_EQ(fields.trackRows, (std::vector<std::string>{"2 P5", "1 Drums"}));
    EXPECT_EQ(FillFromChart(chart, "song", std::string("Kim"), names).author, "Kim");

    chart.songInfo.title = "Title";
    chart.songInfo.composer = "Composer";
    chart.songInfo.author = "Author";
    chart.songInfo.level = 7;
    fields = FillFromChart(chart, "song", std::string("Kim"), names);
    EXPECT_EQ(fields.title, "Title");
    EXPECT_EQ(fields.composer, "Composer");
    EXPECT_EQ(fields.author, "Author");
    CSongInfo stored;
    StorePaletteFields(fields, stored);
    EXPECT_EQ(stored.level, 7);
    EXPECT_EQ(stored.currentTrack, 0);
}
