// Pick Notes on generated tracks, dense and sparse: the rating it reaches for targets of 1 to 4
// stars, and a result the chart check has nothing to say about.

#include <gtest/gtest.h>

#include <algorithm>

#include "difficulty/ChartCheck.h"
#include "difficulty/PickNotes.h"
#include "difficulty/StarRating.h"
#include "support/TestChart.h"

namespace {

// Track 0: `count` notes `step` ticks apart (120 bpm), keys walking up and down so the lanes
// spread, every seventh note long, velocities varying.
CChart Generated(int count, int32_t step) {
    CChart chart;
    for (int i = 0; i < count; ++i) {
        CNote note = MakeNote(i * step, static_cast<uint8_t>(48 + (i * 5) % 24), 0, i % 7 == 0 ? 900 : 90);
        note.lane = static_cast<uint16_t>((i * 3) % 7);
        note.velocity = static_cast<uint8_t>(60 + (i * 13) % 60);
        chart.tracks[0].Append(note);
    }
    chart.usedTrackCount = 1;
    return chart;
}

// The chosen notes made the player's, as the editor would.
void Apply(CChart& chart, const PickResult& result) {
    for (const PickedNote& p : result.notes) {
        CNote note = chart.tracks[static_cast<std::size_t>(p.track)].At(p.index);
        note.longNote = p.held;
        note.selected = true;
        chart.player.Append(note);
    }
    chart.RebuildSelectionFromPlayer();
}

}  // namespace

TEST(PickNotes, ReachesTheTargetWithoutCheckFindings) {
    struct Case {
        const char* name;
        int count;
        int32_t step;
        std::vector<double> reachable;    // targets it must reach within 5 %
        std::vector<double> unreachable;  // targets beyond the track: as close as it gets
    };
    const Case cases[] = {
        {"dense", 3000, 48, {1, 2, 3, 4}, {}},
        {"sparse", 40, 1536, {}, {3, 4}},
    };
    for (const Case& c : cases) {
        for (double target : c.reachable) {
            CChart chart = Generated(c.count, c.step);
            const PickResult result = PickNotes(chart, {target, 0, 100, 768});
            EXPECT_TRUE(result.withinTolerance) << c.name << " " << target << ": " << result.stars;
            Apply(chart, result);
            EXPECT_NEAR(RateChart(chart).stars, target, 0.05 * target) << c.name << " " << target;
            std::vector<std::string> findings;
            for (const ChartFinding& f : CheckChart(chart, 100))
                if (f.text.find("level") == std::string::npos) findings.push_back(FindingLine(chart, f));
            EXPECT_TRUE(findings.empty()) << c.name << " " << target << ": " << findings.front();
        }
        for (double target : c.unreachable) {
            CChart chart = Generated(c.count, c.step);
            const PickResult result = PickNotes(chart, {target, 0, 100, 768});
            EXPECT_FALSE(result.withinTolerance) << c.name << " " << target;
            EXPECT_LT(result.stars, target);
            EXPECT_EQ(result.notes.size(), 40u);  // every note, the closest it can get
        }
    }
}

TEST(PickNotes, StrongBeatsComeFirst) {
    // A quarter-note beat and offbeats between: a low target takes the beats.
    CChart chart = Generated(400, 384);
    const PickResult result = PickNotes(chart, {0.5, 0, 100, 768});
    ASSERT_FALSE(result.notes.empty());
    const auto onBeat = std::count_if(result.notes.begin(), result.notes.end(), [&](const PickedNote& p) {
        return chart.tracks[0].At(p.index).time % 768 == 0;
    });
    EXPECT_GT(onBeat, static_cast<long>(result.notes.size() * 9 / 10));
}
