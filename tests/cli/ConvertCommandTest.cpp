// ryxtool convert, run in-process: the demo song against its golden chart dump, exit codes.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "DumpJson.h"
#include "cli/ConvertCommand.h"
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
    ConvertOptions options;
    options.input = kSource / "data" / "demo.mid";
    options.output = folder / "demo.ryx";
    std::ostringstream out, err;
    ASSERT_EQ(RunConvert(options, temp.Path(), out, err), 0) << err.str();
    EXPECT_EQ(out.str().rfind("'demo'convert to RYX. Press 'OK'\n", 0), 0u) << out.str();
    EXPECT_NE(out.str().find("RYX Convert Finished. Press 'OK'\n"), std::string::npos);
    EXPECT_EQ(out.str().find('\r'), std::string::npos);

    const std::filesystem::path golden = kSource / "tests" / "data" / "demo_chart.json";
    const std::vector<uint8_t> expected = ReadBytes(golden);
    EXPECT_EQ(DumpOf(folder / "demo.ryx", temp), nlohmann::json::parse(expected.begin(), expected.end()))
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
    options.title = "Tune";
    options.composer = "Me";
    options.author = "Chart Maker";
    options.extGenre = "Chip";
    options.genre = 2;
    options.level = 10;
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
        options.level = c.level;
        std::ostringstream out, err;
        EXPECT_EQ(RunConvert(options, temp.Path(), out, err), c.code) << c.input;
        EXPECT_EQ(!out.str().empty(), c.logged) << c.input;
        EXPECT_EQ(!err.str().empty(), c.code == 2) << c.input;
    }
    EXPECT_EQ(folder.FileNames(), (std::vector<std::string>{"format2.mid", "text.mid"}));
}
