// ryxtool preview, run in-process on the demo song's chart.

#include <gtest/gtest.h>

#include <sstream>

#include "CommandHelpers.h"
#include "cli/PreviewCommand.h"
#include "support/TestFiles.h"

namespace {
const std::filesystem::path kSource = RYX_SOURCE_DIR;

// Width and height from a PNG file's header.
std::pair<int, int> PngSize(const std::vector<uint8_t>& png) {
    auto be32 = [&](std::size_t at) {
        return png[at] << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
    };
    return {be32(16), be32(20)};
}
}  // namespace

TEST(Preview, PaintsTheChartIntoAPngOfTheLayoutsSize) {
    ScratchFolder folder, temp;
    ConvertDemoSong(folder / "demo.ryx", temp.Path());
    std::ostringstream err;

    struct Case {
        const char* layout;
        int width, height;
    };
    for (Case c : {Case{"large", 540, 600}, Case{"small", 380, 400}}) {
        PreviewOptions options;
        options.chart = folder / "demo.ryx";
        options.output = folder / (std::string(c.layout) + ".png");
        options.layout = c.layout;
        options.track = 3;
        options.position = 1500;
        options.dataDir = kSource / "data";
        ASSERT_EQ(RunPreview(options, temp.Path(), err), 0) << err.str();
        const std::vector<uint8_t> png = ReadBytes(options.output);
        ASSERT_GT(png.size(), 24u);
        EXPECT_EQ(std::vector<uint8_t>(png.begin(), png.begin() + 4),
                  (std::vector<uint8_t>{0x89, 'P', 'N', 'G'}));
        EXPECT_EQ(PngSize(png), std::make_pair(c.width, c.height));
    }

    // The current track and the position change what is painted.
    auto paint = [&](int track, int32_t position) {
        PreviewOptions options;
        options.chart = folder / "demo.ryx";
        options.output = folder / "frame.png";
        options.track = track;
        options.position = position;
        options.dataDir = kSource / "data";
        EXPECT_EQ(RunPreview(options, temp.Path(), err), 0) << err.str();
        return ReadBytes(options.output);
    };
    const std::vector<uint8_t> first = paint(0, 0);
    EXPECT_NE(paint(3, 0), first);
    EXPECT_NE(paint(0, 3072), first);
    EXPECT_EQ(paint(0, 0), first);
}

TEST(Preview, BadOptionsAndFilesExitTwo) {
    ScratchFolder folder, temp;
    WriteBytes(folder / "junk.ryx", {1, 2, 3});
    struct Case {
        const char* what;
        PreviewOptions options;
    };
    PreviewOptions base;
    base.chart = folder / "junk.ryx";
    base.output = folder / "out.png";
    base.dataDir = kSource / "data";
    std::vector<Case> cases(5, Case{"", base});
    cases[0].what = "damaged chart";
    cases[1].what = "layout";
    cases[1].options.layout = "huge";
    cases[2].what = "track";
    cases[2].options.track = 16;
    cases[3].what = "interval";
    cases[3].options.interval = 0;
    cases[4].what = "no artwork";
    cases[4].options.dataDir = folder.Path();
    for (const Case& c : cases) {
        std::ostringstream err;
        EXPECT_EQ(RunPreview(c.options, temp.Path(), err), 2) << c.what;
        EXPECT_FALSE(err.str().empty()) << c.what;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "out.png"));
}
