// ryxtool testplay: a perfect player, key events from a file, JSON, and each fault in one line.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <sstream>

#include "CommandHelpers.h"
#include "cli/TestPlayCommand.h"
#include "support/TestFiles.h"

TEST(TestPlayCommand, APerfectPlayerKeyEventsAndFaults) {
    ScratchFolder folder, temp;
    ConvertDemoSong(folder / "demo.ryx", temp.Path());
    auto run = [&](TestPlayOptions options, std::string& out, std::string& err) {
        options.chart = options.chart.empty() ? folder / "demo.ryx" : options.chart;
        std::ostringstream o, e;
        const int code = RunTestPlay(options, temp.Path(), o, e);
        out = o.str();
        err = e.str();
        return code;
    };
    auto writeText = [](const std::filesystem::path& path, const std::string& text) {
        WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
    };
    std::string out, err;
    TestPlayOptions autoplay;
    autoplay.autoplay = true;
    autoplay.json = true;
    ASSERT_EQ(run(autoplay, out, err), 0) << err;
    const nlohmann::json perfect = nlohmann::json::parse(out);
    const std::size_t notes = perfect["notes"].size();
    ASSERT_GT(notes, 2u);
    EXPECT_EQ(perfect["counts"]["PERFECT"], notes);
    EXPECT_EQ(perfect["maxCombo"], notes);
    EXPECT_EQ(perfect["accuracy"], 100.0);

    // The first note pressed 30 ms late with a 10 ms offset (GREAT, delta 20), nothing else.
    const double first = perfect["notes"][0]["time"];
    const int lane = perfect["notes"][0]["lane"];
    writeText(folder / "keys.csv", std::to_string(first + 30) + "," + std::to_string(lane) + ",down\n" +
                                       std::to_string(first + 40) + "," + std::to_string(lane) + ",up\n");
    TestPlayOptions keys;
    keys.input = folder / "keys.csv";
    keys.offset = 10;
    keys.json = true;
    ASSERT_EQ(run(keys, out, err), 0) << err;
    const nlohmann::json played = nlohmann::json::parse(out);
    EXPECT_EQ(played["notes"][0]["judgement"], "PERFECT");
    EXPECT_NEAR(played["notes"][0]["delta"].get<double>(), 20, 1e-3);
    EXPECT_EQ(played["notes"][1]["delta"], nullptr);
    EXPECT_EQ(played["counts"]["MISS"], notes - 1);
    keys.json = false;
    ASSERT_EQ(run(keys, out, err), 0);
    EXPECT_NE(out.find("PERFECT 1\nGREAT 0\nGOOD 0\nBAD 0\nMISS " + std::to_string(notes - 1) + "\nBREAK 0\n"
                       "Max combo 1\nAccuracy "),
              std::string::npos)
        << out;

    writeText(folder / "bad.csv", "1,0,down\n2,0,down\n");
    struct Case {
        TestPlayOptions options;
        std::string error;
    };
    TestPlayOptions badFile = keys, missing = keys, neither, slow = autoplay, before = autoplay, noChart = autoplay;
    badFile.input = folder / "bad.csv";
    missing.input = folder / "none.csv";
    slow.speed = 20;
    before.from = -5;
    noChart.chart = folder / "none.ryx";
    const Case cases[] = {
        {badFile, "ryxtool: " + (folder / "bad.csv").string() + ", line 2: lane 0 is already down\n"},
        {neither, "ryxtool: give either --input KEYS.csv or --autoplay\n"},
        {slow, "ryxtool: --speed must be 25..200 percent\n"},
        {before, "ryxtool: --from must not be negative, not -5\n"},
        {missing, ""},
        {noChart, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.options, out, err), 2);
        EXPECT_EQ(out, "");
        if (!c.error.empty()) {
            EXPECT_EQ(err, c.error);
        }
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
}
