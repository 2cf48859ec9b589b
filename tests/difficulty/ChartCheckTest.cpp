// The chart check on small hand-made charts: one case a finding, and a clean chart.

#include <gtest/gtest.h>

#include <functional>

#include "difficulty/ChartCheck.h"
#include "support/TestChart.h"

namespace {

// Three notes on track 2 a quarter apart, all chosen, in a 10-second song at 120 bpm.
CChart CleanChart() {
    CChart chart;
    for (int32_t t : {0, 768, 1536}) {
        CNote note = MakeNote(t, static_cast<uint8_t>(60 + t / 768 * 2), 2);
        note.selected = true;
        chart.tracks[2].Append(note);
        chart.player.Append(note);
    }
    chart.usedTrackCount = 3;
    chart.songLengthMs = 10000;
    chart.songInfo.level = 0;  // level 1, as three notes a half second apart rate
    return chart;
}

std::vector<std::string> Lines(const CChart& chart) {
    std::vector<std::string> lines;
    for (const ChartFinding& f : CheckChart(chart, 100)) lines.push_back(FindingLine(chart, f));
    return lines;
}

}  // namespace

TEST(ChartCheck, EachProblemIsOneFindingNamingWhereItIs) {
    EXPECT_TRUE(Lines(CleanChart()).empty());
    struct Case {
        const char* what;
        std::function<void(CChart&)> damage;
        std::string line;
    };
    const std::vector<Case> cases = {
        {"no player notes", [](CChart& c) { c.player.Reset(); }, "the player has no notes to hit"},
        {"two player notes close in one lane",
         [](CChart& c) {
             CNote close = MakeNote(50, 60, 2);
             c.player.Append(close);
         },
         "track 2, 1:1 (tick 50), lane 0: player notes 50 ticks apart in one lane (closer than 100)"},
        {"a player note inside a held one of its lane",
         [](CChart& c) {
             c.player.Notes()[0].longNote = true;
             c.player.Notes()[0].length = 1000;
             c.player.Append(MakeNote(500, 60, 2));
         },
         "track 2, 1:1 (tick 500), lane 0: note inside a held note: the held note of track 2 at 1:1 (tick 0) "
         "lasts to tick 1000"},
        {"four player notes at one time",
         [](CChart& c) {
             for (uint8_t key : {65, 67, 69, 71}) c.player.Append(MakeNote(3072, key, 2));
         },
         "player's notes, 2:1 (tick 3072): a chord of 4 player notes at one time (a player has two hands: at "
         "most 3)"},
        {"a hidden player note", [](CChart& c) { c.tracks[2].Notes()[1].hidden = 1; },
         "track 2, 1:2 (tick 768), lane 1: a player note is hidden by another note"},
        {"a text too long", [](CChart& c) { c.songInfo.title = std::string(128, 'x'); },
         "the title is 128 bytes; a chart file keeps 127"},
        {"a genre out of range", [](CChart& c) { c.songInfo.genre = 12; }, "genre 12 is not one of 0 to 9"},
        {"a level out of range", [](CChart& c) { c.songInfo.level = -1; }, "level 0 is not one of 1 to 10"},
        {"a level far from the rating", [](CChart& c) { c.songInfo.level = 3; },
         "level 4 is far from the 0.13 stars the player's notes rate: level 1 suggested"},
        {"a note after the song's end", [](CChart& c) { c.songLengthMs = 900; },
         "track 2, 1:3 (tick 1536), lane 2: a note starts after the song ends"},
        {"a track over the file's limit",
         [](CChart& c) {
             for (int i = 0; i < 65536; ++i) c.tracks[5].Append(MakeNote(0, 60, 5));
         },
         "track 5: 65536 notes, more than a chart file holds (65535)"},
    };
    for (const Case& c : cases) {
        CChart chart = CleanChart();
        c.damage(chart);
        const std::vector<std::string> lines = Lines(chart);
        ASSERT_EQ(lines.size(), 1u) << c.what << ": " << (lines.empty() ? "" : lines[0]);
        EXPECT_EQ(lines[0], c.line) << c.what;
    }
}
