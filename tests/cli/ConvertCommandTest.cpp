// ryxtool convert, run in-process: the demo song against its golden chart dump, exit codes.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "CommandHelpers.h"
#include "chart/ChartFile.h"
#include "cli/ConvertCommand.h"
#include "cli/SetCommand.h"
#include "editor/ChartView.h"
#include "editor/PaletteFill.h"
#include "midi_import/ConversionPipeline.h"
#include "support/SmfBuilder.h"
#include "support/TestFiles.h"

namespace {

const std::filesystem::path kSource = RYX_SOURCE_DIR;

nlohmann::json DumpOf(const std::filesystem::path& chart, const ScratchFolder& temp) {
    return DumpJson(chart, temp.Path());
}

}  // namespace

TEST(Convert, DemoSongGivesTheGoldenChart) {
    ScratchFolder folder, temp;
    const std::string log = ConvertDemoSong(folder / "demo.ryx", temp.Path());
    EXPECT_EQ(log.rfind("'demo' convert to RYX. Press 'OK'\n", 0), 0u) << log;
    EXPECT_NE(log.find("RYX Convert Finished. Press 'OK'\n"), std::string::npos);
    EXPECT_EQ(log.find('\r'), std::string::npos);

    // What tools/make_demo_song.py wrote: piano chords (8 bars, 2 a bar, 3 keys), a bass note
    // on every beat, the melody without every eighth note, and 13 drum notes a bar plus two
    // crashes on channel 10.
    const nlohmann::json chart = DumpOf(folder / "demo.ryx", temp);
    const std::vector<std::pair<int, std::size_t>> tracks = {{0, 48}, {33, 32}, {73, 28}, {INT32_MIN, 106}};
    ASSERT_EQ(chart["usedTrackCount"], 4);
    for (std::size_t t = 0; t < tracks.size(); ++t) {
        EXPECT_EQ(chart["tracks"][t]["instrument"], tracks[t].first) << t;
        EXPECT_EQ(chart["tracks"][t]["notes"].size(), tracks[t].second) << t;
    }
    // A chord note of bar 2 lasts 2 quarters less 40 ticks at 480 a quarter: 920 x 740 / 480.
    const nlohmann::json& chord = chart["tracks"][0]["notes"][6];
    EXPECT_EQ(chord["time"], 1920 * 768 / 480);
    EXPECT_EQ(chord["length"], 920 * 740 / 480);
    // No note was chosen, so saving chose every visible note of the first track.
    EXPECT_EQ(chart["player"]["notes"].size(), 48u);

    const std::filesystem::path golden = kSource / "tests" / "data" / "demo_chart.json";
    const std::vector<uint8_t> expected = ReadBytes(golden);
    EXPECT_EQ(chart, nlohmann::json::parse(expected.begin(), expected.end()))
        << "to refresh after an intended change: ryxtool convert data/demo.mid -o /tmp/demo.ryx && "
           "ryxtool dump /tmp/demo.ryx > tests/data/demo_chart.json";
}

TEST(Convert, OptionsOverrideThePaletteAndTheDefaultOutputSitsBesideTheInput) {
    ScratchFolder folder, temp;
    WriteBytes(folder / "tune.mid", Smf(1, 96,
                                        {Track({Meta(0, 0x51, {7, 0xA1, 0x20})}),
                                         Track({Ev(0, {0x90, 60, 90}), Ev(96, {0x80, 60, 0})})}));
    ConvertOptions options;
    options.input = folder / "tune.mid";
    options.songInfo.title = "Tune";
    options.songInfo.composer = "Me";
    options.songInfo.author = "Chart Maker";
    options.songInfo.extGenre = "Chip";
    options.songInfo.genre = 2;
    options.songInfo.level = 10;
    std::ostringstream out, err;
    ASSERT_EQ(RunConvert(options, temp.Path(), out, err), 0) << err.str();
    const nlohmann::json chart = DumpOf(folder / "tune.ryx", temp);
    EXPECT_EQ(chart["title"], "Tune");
    EXPECT_EQ(chart["composer"], "Me");
    EXPECT_EQ(chart["author"], "Chart Maker");
    EXPECT_EQ(chart["extGenre"], "Chip");
    EXPECT_EQ(chart["genre"], 2);
    EXPECT_EQ(chart["level"], 9);
    EXPECT_EQ(chart["player"]["notes"].size(), 1u);

    options = {};
    options.input = folder / "tune.mid";
    options.output = folder / "plain.ryx";
    ASSERT_EQ(RunConvert(options, temp.Path(), out, err), 0) << err.str();
    const nlohmann::json plain = DumpOf(folder / "plain.ryx", temp);
    EXPECT_EQ(plain["title"], "tune");
    EXPECT_EQ(plain["composer"], "Unknown");
    EXPECT_EQ(plain["author"], "Unknown");
    EXPECT_EQ(plain["genre"], 0);
    EXPECT_EQ(plain["level"], 0);
}

TEST(Convert, ExitCodes) {
    ScratchFolder folder, temp;
    WriteBytes(folder / "format2.mid", Smf(2, 96, {Track({Ev(0, {0x90, 60, 90})})}));
    WriteBytes(folder / "text.mid", Bytes{'h', 'i'});
    struct Case {
        const char* input;
        std::optional<int> level;
        int code;
        bool logged;
    };
    for (Case c : {Case{"format2.mid", {}, 1, true}, Case{"text.mid", {}, 1, true},
                   Case{"missing.mid", {}, 2, false}, Case{"format2.mid", 11, 2, false}}) {
        ConvertOptions options;
        options.input = folder / c.input;
        options.songInfo.level = c.level;
        std::ostringstream out, err;
        EXPECT_EQ(RunConvert(options, temp.Path(), out, err), c.code) << c.input;
        EXPECT_EQ(!out.str().empty(), c.logged) << c.input;
        EXPECT_EQ(!err.str().empty(), c.code == 2) << c.input;
    }
    EXPECT_EQ(folder.FileNames(), (std::vector<std::string>{"format2.mid", "text.mid"}));
}

TEST(Convert, HooksNeverChangeTheChart) {
    // With the window's hooks: the editor's view and palette, as ryxtool convert runs them.
    ScratchFolder folder, temp;
    ConvertDemoSong(folder / "hooks.ryx", temp.Path());

    // Without any hook: the pipeline alone, the same song information, the same save.
    CChart chart;
    ConversionLog log;
    std::optional<std::vector<uint8_t>> song =
        ConvertSongBytes(ReadBytes(kSource / "data" / "demo.mid"), chart, log);
    ASSERT_TRUE(song);
    WriteBytes(folder / "song.mid", *song);
    chart.songInfo.midiPath = PathText(folder / "song.mid");
    chart.songInfo.title = "demo";
    chart.songInfo.author = "Unknown";
    ASSERT_TRUE(SaveChartFile(chart, folder / "bare.ryx", temp.Path()));
    EXPECT_EQ(ReadBytes(folder / "bare.ryx"), ReadBytes(folder / "hooks.ryx"));

    // Opening it, with the view's reset and without, and saving again changes nothing.
    CChart opened, shown;
    ASSERT_TRUE(LoadChartFile(opened, folder / "hooks.ryx", temp.Path()));
    ASSERT_TRUE(SaveChartFile(opened, folder / "opened.ryx", temp.Path()));
    ASSERT_TRUE(LoadChartFile(shown, folder / "hooks.ryx", temp.Path()));
    ChartView view(shown, ViewGeometry::Large());
    view.hooks.fillPalette = [](const CChart& loaded) { FillFromChart(loaded, "demo", {}, {}); };
    view.ResetForLoadedChart("demo");
    ASSERT_TRUE(SaveChartFile(shown, folder / "shown.ryx", temp.Path()));
    EXPECT_EQ(ReadBytes(folder / "opened.ryx"), ReadBytes(folder / "hooks.ryx"));
    EXPECT_EQ(ReadBytes(folder / "shown.ryx"), ReadBytes(folder / "hooks.ryx"));
}

TEST(Convert, OpeningAndSavingAgainNeverMovesANote) {
    // Busy songs whose conversion moves many notes aside: each open keeps the lanes stored, so
    // every later save writes the first one's bytes, and dump shows them as converted.
    for (uint32_t seed : {1u, 2u, 3u}) {
        ScratchFolder folder, temp;
        WriteBytes(folder / "busy.mid", BusySong(seed, 6, 400));
        ConvertOptions options;
        options.input = folder / "busy.mid";
        std::ostringstream out, err;
        ASSERT_EQ(RunConvert(options, temp.Path(), out, err), 0) << err.str();
        const std::vector<uint8_t> converted = ReadBytes(folder / "busy.ryx");
        const nlohmann::json dumped = DumpOf(folder / "busy.ryx", temp);

        CChart chart;
        ConversionLog log;
        ASSERT_TRUE(ConvertSongBytes(ReadBytes(folder / "busy.mid"), chart, log));
        for (std::size_t t = 0; t < 6; ++t)
            for (std::size_t i = 0; i < chart.tracks[t].Count(); ++i)
                ASSERT_EQ(dumped["tracks"][t]["notes"][i]["lane"], chart.tracks[t].At(i).lane)
                    << "seed " << seed << " track " << t << " note " << i;

        for (int round = 0; round < 3; ++round) {
            ASSERT_EQ(RunSet(folder / "busy.ryx", {}, temp.Path(), err), 0) << err.str();
            ASSERT_EQ(ReadBytes(folder / "busy.ryx"), converted) << "seed " << seed << " round " << round;
        }
    }
}
