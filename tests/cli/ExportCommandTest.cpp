// ryxtool export: each game's output from a converted song, and each fault in one line.

#include <gtest/gtest.h>

#include <sstream>

#include "CommandHelpers.h"
#include "cli/ExportCommand.h"
#include "support/TestFiles.h"

TEST(ExportCommand, WritesEachGameAndRefusesFaultsInOneLine) {
    ScratchFolder folder, temp;
    ConvertDemoSong(folder / "demo.ryx", temp.Path());
    auto run = [&](ExportCommandOptions options, std::string& out, std::string& err) {
        if (options.chart.empty()) options.chart = folder / "demo.ryx";
        std::ostringstream o, e;
        const int code = RunExport(options, temp.Path(), o, e);
        out = o.str();
        err = e.str();
        return code;
    };
    std::string out, err;
    for (auto [to, output, chartFile] : {std::tuple{"osu", "demo.osz", ""}, std::tuple{"quaver", "q", "demo.qua"},
                                         std::tuple{"bms", "b", "demo.bme"}}) {
        ExportCommandOptions o;
        o.to = to;
        o.output = folder / output;
        o.audio = "none";
        ASSERT_EQ(run(o, out, err), 0) << err;
        EXPECT_EQ(out.rfind("Exported to " + (folder / output).string() + ":", 0), 0u) << out;
        if (*chartFile) {
            EXPECT_TRUE(std::filesystem::is_regular_file(folder / output / chartFile)) << to;
        }
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "demo.osz"));

    struct Case {
        ExportCommandOptions options;
        std::string error;  // empty: any one line
    };
    ExportCommandOptions badTo, badAudio, keysWithoutAudio, itself, missing;
    badTo.to = "stepmania";
    badAudio.to = "osu";
    badAudio.audio = "mp3";
    keysWithoutAudio.to = "osu";
    keysWithoutAudio.audio = "none";
    keysWithoutAudio.keysounds = true;
    itself.to = "bms";
    itself.output = folder / "demo.ryx";
    missing.to = "osu";
    missing.chart = folder / "missing.ryx";
    for (ExportCommandOptions* o : {&badTo, &badAudio, &keysWithoutAudio, &missing})
        if (o->output.empty()) o->output = folder / "x.osz";
    const Case cases[] = {{badTo, "ryxtool: --to must be osu, quaver or bms, not stepmania\n"},
                          {badAudio, "ryxtool: --audio must be ogg, wav or none, not mp3\n"},
                          {keysWithoutAudio, "ryxtool: --keysounds needs audio (ogg or wav)\n"},
                          {itself, ""},
                          {missing, ""}};
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.options, out, err), 2) << c.options.to;
        if (!c.error.empty()) {
            EXPECT_EQ(err, c.error);
        }
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "x.osz"));
}
