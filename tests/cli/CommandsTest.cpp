// ryxtool dump and set, run in-process on chart files made by the tests.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <climits>
#include <sstream>

#include "CommandHelpers.h"
#include "chart/ChartFile.h"
#include "cli/CheckCommand.h"
#include "cli/DumpCommand.h"
#include "cli/PlayCommand.h"
#include "cli/PreviewCommand.h"
#include "cli/ConvertCommand.h"
#include "cli/RenderCommand.h"
#include "cli/SetCommand.h"
#include "support/SmfBuilder.h"
#include "support/TestChart.h"
#include "support/TestFiles.h"

namespace {

struct SavedChart {
    SavedChart() {
        CChart chart = MakeSampleChart();
        WriteBytes(folder / "song.mid", std::vector<uint8_t>(777, 0x42));
        chart.songInfo.midiPath = PathText(folder / "song.mid");
        if (!SaveChartFile(chart, Path(), temp.Path()))
            throw std::runtime_error("cannot save the sample chart");
    }
    std::filesystem::path Path() const { return folder / "chart.ryx"; }

    ScratchFolder folder, temp;
};

nlohmann::json Dump(const std::filesystem::path& path, const ScratchFolder& temp) {
    return DumpJson(path, temp.Path());
}

}  // namespace

TEST(Dump, PrintsEveryStoredField) {
    SavedChart saved;
    nlohmann::json json = Dump(saved.Path(), saved.temp);
    EXPECT_EQ(json["title"], "Sunrise Run");
    EXPECT_EQ(json["composer"], "J. Doe");
    EXPECT_EQ(json["extGenre"], "Chiptune");
    EXPECT_EQ(json["author"], "tester");
    EXPECT_EQ(json["genre"], 3);
    EXPECT_EQ(json["level"], 6);
    EXPECT_EQ(json["currentTrack"], 1);
    EXPECT_EQ(json["songLengthMs"], 12345);
    EXPECT_EQ(json["usedTrackCount"], 3);
    EXPECT_EQ(json["midiBytes"], 777);
    ASSERT_EQ(json["tracks"].size(), 16u);
    EXPECT_EQ(json["tracks"][2]["instrument"], INT32_MIN);
    EXPECT_EQ(json["tracks"][1]["notes"].size(), 25u);
    EXPECT_EQ(json["tracks"][15]["notes"].size(), 0u);
    const nlohmann::json& note = json["tracks"][1]["notes"][1];
    EXPECT_EQ(note, (nlohmann::json{{"time", 384},
                                    {"length", 100},
                                    {"status", 0x91},
                                    {"key", 50},
                                    {"velocity", 100},
                                    {"selected", 1},
                                    {"lane", 1},
                                    {"track", 1},
                                    {"longNote", 0}}));
    EXPECT_EQ(json["player"]["notes"].size(), 19u);
}

TEST(Dump, InvalidUtf8ShowsAsReplacementCharacters) {
    ScratchFolder folder, temp;
    CChart chart;
    chart.songInfo.title = "caf\xE9";  // a byte from an older single-byte code page
    WriteBytes(folder / "song.mid", {});
    chart.songInfo.midiPath = PathText(folder / "song.mid");
    ASSERT_TRUE(SaveChartFile(chart, folder / "t.ryx", temp.Path()));
    EXPECT_EQ(Dump(folder / "t.ryx", temp)["title"], "caf\xEF\xBF\xBD");
}

TEST(Dump, UnreadableFilesGiveOneLineAndExitTwo) {
    ScratchFolder folder, temp;
    WriteBytes(folder / "junk.ryx", {1, 2, 3, 4, 5, 6, 7});
    for (const char* name : {"junk.ryx", "missing.ryx"}) {
        std::ostringstream out, err;
        EXPECT_EQ(RunDump(folder / name, temp.Path(), out, err), 2) << name;
        EXPECT_EQ(out.str(), "");
        const std::string message = err.str();
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    }
}

TEST(Set, ChangesOnlyTheNamedFields) {
    SavedChart saved;
    const nlohmann::json before = Dump(saved.Path(), saved.temp);
    SongInfoOptions options;
    options.title = "New Title";
    options.level = 10;
    options.genre = 0;
    std::ostringstream err;
    ASSERT_EQ(RunSet(saved.Path(), options, saved.temp.Path(), err), 0) << err.str();

    nlohmann::json expected = before;
    expected["title"] = "New Title";
    expected["level"] = 9;
    expected["genre"] = 0;
    EXPECT_EQ(Dump(saved.Path(), saved.temp), expected);
}

TEST(Set, WithoutOptionsRewritesTheSameBytes) {
    SavedChart saved;
    const std::vector<uint8_t> before = ReadBytes(saved.Path());
    std::ostringstream err;
    ASSERT_EQ(RunSet(saved.Path(), {}, saved.temp.Path(), err), 0);
    EXPECT_EQ(ReadBytes(saved.Path()), before);
}

TEST(Set, OutOfRangeValuesLeaveTheFileUntouched) {
    struct Case {
        std::optional<int> genre;
        std::optional<int> level;
    };
    for (Case c : {Case{10, {}}, Case{-1, {}}, Case{{}, 0}, Case{{}, 11}}) {
        SavedChart saved;
        const std::vector<uint8_t> before = ReadBytes(saved.Path());
        SongInfoOptions options;
        options.title = "ignored";
        options.genre = c.genre;
        options.level = c.level;
        std::ostringstream err;
        EXPECT_EQ(RunSet(saved.Path(), options, saved.temp.Path(), err), 2);
        EXPECT_FALSE(err.str().empty());
        EXPECT_EQ(ReadBytes(saved.Path()), before);
    }
}

TEST(Set, LongTextsAreSavedCutWithAWarning) {
    SavedChart saved;
    SongInfoOptions options;
    options.composer = std::string(200, 'c');
    std::ostringstream err;
    ASSERT_EQ(RunSet(saved.Path(), options, saved.temp.Path(), err), 0);
    EXPECT_NE(err.str().find("composer"), std::string::npos);
    EXPECT_EQ(Dump(saved.Path(), saved.temp)["composer"], std::string(127, 'c'));
}

TEST(Render, WritesTheAuditionAndRefusesBadInputWithoutWriting) {
    ScratchFolder folder, temp;
    ConvertDemoSong(folder / "demo.ryx", temp.Path());
    RenderOptions options;
    options.chart = folder / "demo.ryx";
    options.output = folder / "demo.wav";
    options.filter = "player";
    std::ostringstream out, err;
    ASSERT_EQ(RunRender(options, temp.Path(), out, err), 0) << err.str();
    const std::vector<uint8_t> wav = ReadBytes(folder / "demo.wav");
    ASSERT_GT(wav.size(), 44u + 4u * 44100u * 10u);  // the demo song lasts over ten seconds
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 12), "WAVE");

    struct Case {
        const char* what;
        RenderOptions options;
    };
    std::vector<Case> cases(5, Case{"", options});
    cases[4].what = "start past the song's end";
    cases[4].options.from = INT64_MAX;
    cases[0].what = "filter";
    cases[0].options.filter = "16";
    cases[1].what = "start";
    cases[1].options.from = -1;
    cases[2].what = "SoundFont";
    cases[2].options.soundFont = folder / "demo.ryx";
    cases[3].what = "chart";
    cases[3].options.chart = folder / "missing.ryx";
    for (Case& c : cases) {
        c.options.output = folder / "bad.wav";
        std::ostringstream ignored, message;
        EXPECT_EQ(RunRender(c.options, temp.Path(), ignored, message), 2) << c.what;
        EXPECT_FALSE(message.str().empty()) << c.what;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "bad.wav"));
}

TEST(Play, ListsPortsPlaysToTheEndAndRefusesBadInput) {
    ScratchFolder folder, temp;
    ConvertDemoSong(folder / "demo.ryx", temp.Path());
    const std::atomic<bool> keepGoing = false;
    PlayOptions list;
    list.listPorts = true;
    std::ostringstream ports, err;
    ASSERT_EQ(RunPlay(list, temp.Path(), ports, err, keepGoing), 0);
    EXPECT_EQ(ports.str().rfind("0 Software Synthesizer (FluidSynth)", 0), 0u) << ports.str();

    PlayOptions play;
    play.chart = folder / "demo.ryx";
    play.from = 24300;  // the last few hundred ticks of the demo song
    std::ostringstream out;
    ASSERT_EQ(RunPlay(play, temp.Path(), out, err, keepGoing), 0) << err.str();
    EXPECT_NE(out.str().find("ended at 24501"), std::string::npos) << out.str();

    for (auto change :
         {+[](PlayOptions& o) { o.port = "no such port"; }, +[](PlayOptions& o) { o.filter = "x"; },
          +[](PlayOptions& o) { o.chart = "/nonexistent.ryx"; }}) {
        PlayOptions bad = play;
        change(bad);
        std::ostringstream ignored, message;
        EXPECT_EQ(RunPlay(bad, temp.Path(), ignored, message, keepGoing), 2);
        EXPECT_FALSE(message.str().empty());
    }
}

TEST(Commands, ASoundFontThatDoesNotLoadIsRefusedInOneLine) {
    ScratchFolder folder, temp;
    ConvertDemoSong(folder / "demo.ryx", temp.Path());
    WriteBytes(folder / "broken.sf2", Join({{'R', 'I', 'F', 'F', 200, 0, 0, 0, 's', 'f', 'b', 'k'}, Bytes(60, 0)}));
    auto oneLine = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n') == 1; };

    RenderOptions render;
    render.chart = folder / "demo.ryx";
    render.output = folder / "out.wav";
    render.soundFont = folder / "broken.sf2";
    std::ostringstream out, err;
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunRender(render, temp.Path(), out, err), 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // the library's own noise stays in its log
    EXPECT_TRUE(oneLine(err.str())) << err.str();
    EXPECT_NE(err.str().find("broken.sf2"), std::string::npos);

    setenv("RYX_SOUNDFONT", (folder / "broken.sf2").c_str(), 1);
    PlayOptions play;
    play.chart = folder / "demo.ryx";
    std::ostringstream played, refused;
    const std::atomic<bool> keepGoing = false;
    EXPECT_EQ(RunPlay(play, temp.Path(), played, refused, keepGoing), 2);
    unsetenv("RYX_SOUNDFONT");
    EXPECT_TRUE(oneLine(refused.str())) << refused.str();
    EXPECT_EQ(played.str(), "");
}

TEST(Check, CleanFindingsAndUnreadable) {
    ScratchFolder folder, temp;
    ConvertDemoSong(folder / "demo.ryx", temp.Path());
    std::ostringstream out, err;
    EXPECT_EQ(RunCheck(folder / "demo.ryx", 100, temp.Path(), out, err), 0) << out.str();
    // The rating first: the demo's first track, chords of three every beat and a half at 112 bpm.
    const std::string rating = out.str();
    ASSERT_EQ(rating.rfind("Difficulty: ", 0), 0u) << rating;
    EXPECT_NE(rating.find(" stars, suggested level "), std::string::npos);
    EXPECT_EQ(std::count(rating.begin(), rating.end(), '\n'), 1);

    CChart chart;
    ASSERT_TRUE(LoadChartFile(chart, folder / "demo.ryx", temp.Path()));
    chart.songInfo.genre = 12;  // as a hand-edited file may hold
    ASSERT_TRUE(SaveChartFile(chart, folder / "edited.ryx", temp.Path()));
    std::ostringstream found;
    EXPECT_EQ(RunCheck(folder / "edited.ryx", 100, temp.Path(), found, err), 1);
    EXPECT_EQ(found.str(), rating + "genre 12 is not one of 0 to 9\n");
    std::ostringstream json;
    EXPECT_EQ(RunCheck(folder / "edited.ryx", 100, temp.Path(), json, err, true), 1);
    const nlohmann::json parsed = nlohmann::json::parse(json.str());
    char stars[16];
    std::snprintf(stars, sizeof stars, "%.2f", parsed["stars"].get<double>());
    EXPECT_EQ(rating, "Difficulty: " + std::string(stars) + " stars, suggested level " +
                          std::to_string(parsed["suggestedLevel"].get<int>()) + "\n");
    EXPECT_EQ(parsed["findings"].size(), 1u);
    EXPECT_EQ(parsed["findings"][0]["text"], "genre 12 is not one of 0 to 9");
    EXPECT_EQ(parsed["findings"][0]["track"], -1);

    for (auto [path, gap] : {std::pair{folder / "missing.ryx", 100}, std::pair{folder / "demo.ryx", -1}}) {
        std::ostringstream none, message;
        EXPECT_EQ(RunCheck(path, gap, temp.Path(), none, message), 2) << gap;
        EXPECT_FALSE(message.str().empty());
    }
}

TEST(Commands, AnOutputThatIsTheInputIsRefusedBeforeAnythingIsWritten) {
    ScratchFolder folder, temp;
    ConvertDemoSong(folder / "demo.ryx", temp.Path());
    std::filesystem::copy_file(std::filesystem::path(RYX_SOURCE_DIR) / "data" / "demo.mid", folder / "demo.mid");
    std::filesystem::create_symlink(folder / "demo.ryx", folder / "link.ryx");
    const std::vector<uint8_t> chart = ReadBytes(folder / "demo.ryx");
    const std::vector<uint8_t> song = ReadBytes(folder / "demo.mid");
    for (const char* output : {"demo.ryx", "link.ryx"}) {
        std::ostringstream out, err;
        RenderOptions render;
        render.chart = folder / "demo.ryx";
        render.output = folder / output;
        EXPECT_EQ(RunRender(render, temp.Path(), out, err), 2) << output;
        PreviewOptions preview;
        preview.chart = folder / "demo.ryx";
        preview.output = folder / output;
        preview.dataDir = std::filesystem::path(RYX_SOURCE_DIR) / "data";
        EXPECT_EQ(RunPreview(preview, temp.Path(), err), 2) << output;
        EXPECT_NE(err.str().find("is the input file"), std::string::npos) << err.str();
    }
    ConvertOptions convert;
    convert.input = folder / "demo.mid";
    convert.output = folder / "demo.mid";
    std::ostringstream out, err;
    EXPECT_EQ(RunConvert(convert, temp.Path(), out, err), 2);
    EXPECT_EQ(ReadBytes(folder / "demo.ryx"), chart);
    EXPECT_EQ(ReadBytes(folder / "demo.mid"), song);

    // A temporary folder that cannot take the song is the system's problem, not the song's.
    convert.output = folder / "other.ryx";
    std::ostringstream log, reason;
    EXPECT_EQ(RunConvert(convert, folder / "no-such-folder", log, reason), 2);
    EXPECT_NE(reason.str().find("Prefix.tmp"), std::string::npos) << reason.str();
    EXPECT_FALSE(std::filesystem::exists(folder / "other.ryx"));
}
