// Loading and saving whole charts: round trips, the player track and selection list, refusal
// of unstorable charts, and what failed saves and loads leave behind.

#include <gtest/gtest.h>

#include <tuple>

#include "chart/ChartArchive.h"
#include "chart/ChartFile.h"
#include "chart/ChartInfo.h"
#include "io/FaultyFileSystem.h"
#include "support/TestChart.h"
#include "support/TestFiles.h"

namespace {

const std::vector<uint8_t> kSong = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 1, 0, 96};

// A sample chart whose song is a small file in `folder`.
CChart ChartWithSong(const ScratchFolder& folder) {
    CChart chart = MakeSampleChart();
    WriteBytes(folder / "song.mid", kSong);
    chart.songInfo.midiPath = PathText(folder / "song.mid");
    return chart;
}

}  // namespace

TEST(ChartFile, SaveThenLoadRestoresTheChart) {
    ScratchFolder folder, temp;
    CChart chart = ChartWithSong(folder);
    ASSERT_TRUE(SaveChartFile(chart, folder / "a.ryx", temp.Path()));

    CChart loaded;
    std::vector<std::pair<int, std::string>> steps;
    ASSERT_TRUE(
        LoadChartFile(loaded, folder / "a.ryx", temp.Path(),
                      [&](int position, std::string_view text) { steps.emplace_back(position, text); }));
    ExpectSameStoredChart(chart, loaded);
    EXPECT_EQ(loaded.songInfo.midiPath, PathText(temp / "mid.tmp"));
    EXPECT_EQ(ReadBytes(temp / "mid.tmp"), kSong);
    EXPECT_EQ(ReadBytes(temp / "inf.tmp").size(), ReadBytes(folder / "a.ryx").size() - 64 - kSong.size());
    EXPECT_EQ(loaded.selection.Count(), static_cast<int>(chart.player.Count()));
    EXPECT_FALSE(loaded.selectionChanged);
    EXPECT_FALSE(loaded.player.muted);
    EXPECT_EQ(steps, (std::vector<std::pair<int, std::string>>{{1, "Initialize"},
                                                               {2, "Create Tempo Map"},
                                                               {3, "Manager Loading"},
                                                               {4, "Tracks Loading"},
                                                               {5, "Select Player Loading"},
                                                               {6, ""}}));

    // Saving the loaded chart again writes the very same file.
    ASSERT_TRUE(SaveChartFile(loaded, folder / "b.ryx", temp.Path()));
    EXPECT_EQ(ReadBytes(folder / "a.ryx"), ReadBytes(folder / "b.ryx"));
}

TEST(ChartFile, PlayerTrackFollowsTheSelectionOnlyWhenItChanged) {
    for (bool changed : {false, true}) {
        ScratchFolder folder, temp;
        CChart chart = ChartWithSong(folder);
        CNote extra = chart.tracks[1].At(24);
        extra.selected = true;
        chart.selection.AddSorted(extra);
        chart.selectionChanged = changed;
        const uint32_t before = chart.player.Count();
        ASSERT_TRUE(SaveChartFile(chart, folder / "c.ryx", temp.Path()));
        EXPECT_FALSE(chart.selectionChanged);

        CChart loaded;
        ASSERT_TRUE(LoadChartFile(loaded, folder / "c.ryx", temp.Path()));
        EXPECT_EQ(loaded.player.Count(), changed ? before + 1 : before) << changed;
        EXPECT_EQ(loaded.selection.Count(), static_cast<int>(loaded.player.Count()));
    }
}

TEST(ChartFile, TooManyNotesIsRefusedBeforeAnythingIsWritten) {
    for (bool inPlayer : {false, true}) {
        ScratchFolder folder, temp;
        CChart chart = ChartWithSong(folder);
        ASSERT_TRUE(SaveChartFile(chart, folder / "big.ryx", temp.Path()));
        const std::vector<uint8_t> saved = ReadBytes(folder / "big.ryx");
        const std::vector<uint8_t> savedInfo = ReadBytes(temp / "inf.tmp");
        for (int i = 0; i < 65536; ++i) {
            CNote note = MakeNote(i, 60, 4);
            if (inPlayer) {
                note.selected = true;
                chart.selection.InsertAt(chart.selection.GetSize(), note);
            } else {
                chart.tracks[4].Append(note);
            }
        }
        chart.selectionChanged = inPlayer;
        Status status = SaveChartFile(chart, folder / "big.ryx", temp.Path());
        EXPECT_EQ(status.code, ErrorCode::TooManyNotes);
        EXPECT_EQ(status.part, inPlayer ? "player's notes" : "track 5");
        EXPECT_EQ(ReadBytes(folder / "big.ryx"), saved);
        EXPECT_EQ(ReadBytes(temp / "inf.tmp"), savedInfo);
        EXPECT_TRUE(chart.selectionChanged == inPlayer);
    }
}

TEST(ChartFile, AFailedSaveLeavesThePreviousFileAsItWas) {
    using Fault = FaultyFileSystem::Fault;
    struct Case {
        const char* what;
        Fault fault;
        std::size_t limit;
        ErrorCode error;
    };
    for (const Case& c :
         {Case{"create fails", Fault::CreateFails, 0, ErrorCode::CreateOutput},
          Case{"write fails midway", Fault::WriteFailsAfter, 20000, ErrorCode::WriteOutput},
          Case{"write fails at once", Fault::WriteFailsAfter, 0, ErrorCode::WriteOutput},
          Case{"flush fails", Fault::SyncFails, 0, ErrorCode::WriteOutput},
          Case{"a byte is damaged on the way", Fault::CorruptsByte, 1500, ErrorCode::VerifyOutput},
          Case{"damaged entry table", Fault::CorruptsByte, 30, ErrorCode::VerifyOutput},
          Case{"rename fails", Fault::RenameFails, 0, ErrorCode::ReplaceOutput}}) {
        ScratchFolder folder, temp;
        CChart chart = ChartWithSong(folder);
        for (int i = 0; i < 3000; ++i) chart.tracks[5].Append(MakeNote(i * 10, 70, 5));
        ASSERT_TRUE(SaveChartFile(chart, folder / "keep.ryx", temp.Path()));
        const std::vector<uint8_t> before = ReadBytes(folder / "keep.ryx");

        chart.songInfo.title = "changed";
        FaultyFileSystem faulty(c.fault, c.limit);
        faulty.onlyNamesContaining = "keep.ryx";
        Status status = SaveChartFile(chart, folder / "keep.ryx", temp.Path(), faulty);
        EXPECT_EQ(status.code, c.error) << c.what;
        EXPECT_NE(status.Message().find("keep.ryx"), std::string::npos) << status.Message();
        EXPECT_EQ(ReadBytes(folder / "keep.ryx"), before) << c.what;
        EXPECT_EQ(folder.FileNames(), (std::vector<std::string>{"keep.ryx", "song.mid"})) << c.what;
    }
}

TEST(ChartFile, AnUnwritableInfoFileStopsTheSaveWithoutUsingAStaleOne) {
    using Fault = FaultyFileSystem::Fault;
    for (Fault fault : {Fault::CreateFails, Fault::WriteFailsAfter}) {
        ScratchFolder folder, temp;
        CChart chart = ChartWithSong(folder);
        ASSERT_TRUE(SaveChartFile(chart, folder / "s.ryx", temp.Path()));
        const std::vector<uint8_t> before = ReadBytes(folder / "s.ryx");

        chart.songInfo.title = "new title";
        FaultyFileSystem faulty(fault, 100);
        faulty.onlyNamesContaining = "inf.tmp";
        Status status = SaveChartFile(chart, folder / "s.ryx", temp.Path(), faulty);
        EXPECT_EQ(status.code, ErrorCode::CreateInfo);
        EXPECT_EQ(ReadBytes(folder / "s.ryx"), before);
        EXPECT_FALSE(std::filesystem::exists(temp / "inf.tmp"));
    }
}

TEST(ChartFile, AFailedLoadLeavesTheOpenChartAndItsSongAlone) {
    ScratchFolder folder, temp;
    CChart original = ChartWithSong(folder);
    ASSERT_TRUE(SaveChartFile(original, folder / "good.ryx", temp.Path()));
    CChart chart;
    ASSERT_TRUE(LoadChartFile(chart, folder / "good.ryx", temp.Path()));
    const std::vector<uint8_t> song = ReadBytes(temp / "mid.tmp");

    // A second chart whose "inf" segment is cut short, with another song.
    std::vector<uint8_t> bad = ReadBytes(folder / "good.ryx");
    bad.resize(bad.size() - kSong.size() - 5);
    bad.insert(bad.end(), {'X', 'Y', 'Z'});
    const uint32_t end = static_cast<uint32_t>(bad.size());
    const uint32_t midAt = end - 3;
    for (int i = 0; i < 4; ++i) {
        bad[24 + i] = static_cast<uint8_t>(midAt >> (8 * i));
        bad[44 + i] = static_cast<uint8_t>(end >> (8 * i));
    }
    WriteBytes(folder / "bad.ryx", bad);

    for (const char* name : {"bad.ryx", "missing.ryx"}) {
        Status status = LoadChartFile(chart, folder / name, temp.Path());
        EXPECT_FALSE(status) << name;
        ExpectSameStoredChart(original, chart);
        EXPECT_EQ(chart.songInfo.midiPath, PathText(temp / "mid.tmp"));
        EXPECT_EQ(ReadBytes(temp / "mid.tmp"), song);
    }
    EXPECT_EQ(LoadChartFile(chart, folder / "bad.ryx", temp.Path()).code, ErrorCode::TruncatedInfo);
}

TEST(ChartFile, ALoadWhoseTemporaryFilesCannotBeWrittenChangesNothing) {
    for (const char* name : {"inf.tmp", "mid.tmp"}) {
        ScratchFolder folder, temp;
        CChart original = ChartWithSong(folder);
        ASSERT_TRUE(SaveChartFile(original, folder / "one.ryx", temp.Path()));
        CChart chart;
        ASSERT_TRUE(LoadChartFile(chart, folder / "one.ryx", temp.Path()));

        CChart other = ChartWithSong(folder);
        other.songInfo.title = "other";
        WriteBytes(folder / "other.mid", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 48});
        other.songInfo.midiPath = PathText(folder / "other.mid");
        ASSERT_TRUE(SaveChartFile(other, folder / "two.ryx", temp.Path()));
        FaultyFileSystem faulty(FaultyFileSystem::Fault::WriteFailsAfter, 3);
        faulty.onlyNamesContaining = name;
        EXPECT_EQ(LoadChartFile(chart, folder / "two.ryx", temp.Path(), {}, faulty).code,
                  ErrorCode::ExtractSegment);
        EXPECT_EQ(chart.songInfo.title, original.songInfo.title) << name;
        EXPECT_EQ(chart.songInfo.midiPath, PathText(temp / "mid.tmp")) << name;
        EXPECT_EQ(ReadBytes(temp / "mid.tmp"), kSong) << name;
    }
}

TEST(ChartFile, OpeningKeepsStoredLanesAndHidesSameTimeDuplicates) {
    // Notes 50 ticks apart in one lane (the conversion would move the first aside), two notes at
    // one tick and lane (the lower key hides), and the same tick in another lane (both shown).
    ScratchFolder folder, temp;
    CChart chart = ChartWithSong(folder);
    chart.tracks[0] = CNoteTrack();
    for (auto [time, key, lane] : std::vector<std::tuple<int32_t, uint8_t, uint16_t>>{
             {0, 60, 3}, {50, 60, 3}, {2000, 64, 2}, {2000, 62, 2}, {2000, 65, 5}}) {
        CNote note = MakeNote(time, key);
        note.lane = lane;
        chart.tracks[0].Append(note);
    }
    ASSERT_TRUE(SaveChartFile(chart, folder / "lanes.ryx", temp.Path()));

    CChart loaded;
    ASSERT_TRUE(LoadChartFile(loaded, folder / "lanes.ryx", temp.Path()));
    std::vector<uint16_t> lanes, hidden;
    for (const CNote& n : loaded.tracks[0].Notes()) {
        lanes.push_back(n.lane);
        hidden.push_back(n.hidden);
    }
    EXPECT_EQ(lanes, (std::vector<uint16_t>{3, 3, 2, 2, 5}));
    EXPECT_EQ(hidden, (std::vector<uint16_t>{0, 0, 0, 1, 0}));
}
