// ryxtool pick: the player's notes chosen for a rating and saved; bad options in one line.

#include <gtest/gtest.h>

#include <sstream>

#include "CommandHelpers.h"
#include "chart/ChartFile.h"
#include "cli/PickCommand.h"
#include "difficulty/StarRating.h"
#include "support/TestFiles.h"

TEST(PickCommand, ChoosesSavesAndRefusesBadOptions) {
    ScratchFolder folder, temp;
    ConvertDemoSong(folder / "demo.ryx", temp.Path());
    PickOptions options;
    options.chart = folder / "demo.ryx";
    options.output = folder / "picked.ryx";
    options.stars = 1;
    options.track = "all";
    std::ostringstream out, err;
    ASSERT_EQ(RunPick(options, temp.Path(), out, err), 0) << err.str();
    EXPECT_EQ(out.str().rfind("Picked ", 0), 0u) << out.str();
    CChart saved;
    ASSERT_TRUE(LoadChartFile(saved, folder / "picked.ryx", temp.Path()));
    EXPECT_NEAR(RateChart(saved).stars, 1.0, 0.05);

    for (auto [stars, track, message] :
         {std::tuple{0.0, "all", "ryxtool: --stars must be above 0 and at most 20\n"},
          std::tuple{2.0, "16", "ryxtool: --track must be a track 0..15 or all, not 16\n"},
          std::tuple{2.0, "x", "ryxtool: --track must be a track 0..15 or all, not x\n"}}) {
        PickOptions bad = options;
        bad.stars = stars;
        bad.track = track;
        std::ostringstream none, why;
        EXPECT_EQ(RunPick(bad, temp.Path(), none, why), 2);
        EXPECT_EQ(why.str(), message);
    }
}
