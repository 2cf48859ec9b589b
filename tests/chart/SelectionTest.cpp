// The rules of the chart: selecting and deselecting notes, the overlap pass, and what every
// loaded chart goes through.

#include <gtest/gtest.h>

#include "chart/FinishLoadedChart.h"
#include "chart/OverlapPass.h"
#include "chart/Selection.h"
#include "support/TestChart.h"

namespace {

CChart ChartOf(std::initializer_list<std::pair<int32_t, uint8_t>> notes) {  // time, key on track 0
    CChart chart;
    for (auto [time, key] : notes) chart.tracks[0].Append(MakeNote(time, key));
    chart.usedTrackCount = 1;
    return chart;
}

std::vector<int32_t> SelectedTimes(const CChart& chart) {
    std::vector<int32_t> times;
    for (const CNote& n : chart.selection.Notes()) times.push_back(n.time);
    return times;
}

}  // namespace

TEST(Select, RefusesNotesThatWouldCollideInTheirLane) {
    struct Case {
        int32_t second;  // time of a second note in the same lane as a selected note at 1000
        bool selected;
    };
    for (Case c :
         {Case{1100, false}, Case{1101, true}, Case{900, false}, Case{899, true}, Case{1000, false}}) {
        CChart chart = ChartOf({{1000, 60}, {c.second, 60}});
        if (c.second < 1000) std::swap(chart.tracks[0].At(0).time, chart.tracks[0].At(1).time);
        const uint32_t first = c.second < 1000 ? 1 : 0;
        ASSERT_TRUE(Select(chart, 0, first, kDefaultCollisionWindow));
        EXPECT_EQ(Select(chart, 0, 1 - first, kDefaultCollisionWindow), c.selected) << c.second;
        EXPECT_EQ(chart.tracks[0].At(1 - first).selected, c.selected) << c.second;
    }
    CChart chart = ChartOf({{0, 60}, {50, 62}});  // other lane: no collision
    EXPECT_TRUE(Select(chart, 0, 0, 100));
    EXPECT_TRUE(Select(chart, 0, 1, 100));
    EXPECT_FALSE(Select(chart, 0, 1, 100));  // already selected: its own copy collides
    EXPECT_FALSE(Select(chart, 0, 7, 100));  // no such note
    EXPECT_EQ(chart.selection.Count(), 2);
    EXPECT_TRUE(chart.selectionChanged);
    chart.tracks[0].Append(MakeNote(500, 60));
    chart.tracks[0].At(2).hidden = 1;
    EXPECT_FALSE(Select(chart, 0, 2, 100));
}

TEST(Deselect, RemovesTheMatchingEntryOrChangesNothing) {
    CChart chart = ChartOf({{0, 60}, {0, 62}, {300, 60}});
    ASSERT_TRUE(Select(chart, 0, 0, 100));
    ASSERT_TRUE(Select(chart, 0, 1, 100));
    chart.selectionChanged = false;
    EXPECT_TRUE(Deselect(chart, 0, 1));
    EXPECT_EQ(chart.selection.Count(), 1);
    EXPECT_EQ(chart.selection.GetAt(0).lane, 0);
    EXPECT_FALSE(chart.tracks[0].At(1).selected);
    EXPECT_TRUE(chart.selectionChanged);

    chart.selectionChanged = false;
    chart.tracks[0].At(2).selected = true;  // marked, but without an entry
    EXPECT_FALSE(Deselect(chart, 0, 2));
    EXPECT_TRUE(chart.tracks[0].At(2).selected);
    EXPECT_EQ(chart.selection.Count(), 1);
    EXPECT_FALSE(chart.selectionChanged);
}

TEST(SelectAll, SkipsHiddenSelectedAndCollidingNotes) {
    CChart chart = ChartOf({{0, 60}, {50, 60}, {200, 60}, {200, 64}, {400, 62}});
    chart.tracks[0].At(4).hidden = 1;
    SelectAllInTrack(chart, 0, 100);
    EXPECT_EQ(SelectedTimes(chart), (std::vector<int32_t>{0, 200, 200}));
    DeselectAllInTrack(chart, 0);
    EXPECT_EQ(chart.selection.Count(), 0);

    SelectAllIfNoneSelected(chart, 0, 100);
    EXPECT_EQ(chart.selection.Count(), 3);
    CChart other = ChartOf({{0, 60}});
    ASSERT_TRUE(Select(other, 0, 0, 100));
    other.tracks[1].Append(MakeNote(0, 40, 1));
    SelectAllIfNoneSelected(other, 1, 100);
    EXPECT_EQ(other.selection.Count(), 1);
}

TEST(SelectAll, KeepsTheListSortedOnALargeTrack) {
    CChart chart;
    for (int i = 0; i < 200000; ++i)
        chart.tracks[0].Append(MakeNote(i * 30, static_cast<uint8_t>(60 + i % 12)));
    SelectAllInTrack(chart, 0, 100);
    EXPECT_GT(chart.selection.Count(), 100000);
    const std::vector<int32_t> times = SelectedTimes(chart);
    EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));
}

TEST(OverlapPass, HidesDuplicatesAndSpreadsNotesThatAreTooClose) {
    struct Case {
        const char* what;
        std::vector<std::pair<int32_t, uint8_t>> notes;
        std::vector<uint16_t> lanes;
        std::vector<uint16_t> hidden;
    };
    const std::vector<Case> cases = {
        {"95 ticks apart: the earlier moves up a lane", {{0, 60}, {95, 60}}, {1, 0}, {0, 0}},
        {"96 ticks apart: both stay", {{0, 60}, {96, 60}}, {0, 0}, {0, 0}},
        {"same tick: the lower key is hidden", {{0, 61}, {0, 60}}, {0, 0}, {0, 1}},
        {"same tick, same key: the first is hidden", {{0, 60}, {0, 60}}, {0, 0}, {1, 0}},
        {"lane 6 moves round to 0", {{0, 71}, {50, 71}}, {0, 6}, {0, 0}},
        {"an occupied lane is passed over", {{0, 60}, {10, 62}, {50, 60}}, {2, 1, 0}, {0, 0, 0}},
        {"lane 5 tries 6 first", {{0, 69}, {50, 69}}, {6, 5}, {0, 0}},
    };
    for (const Case& c : cases) {
        CChart chart;
        for (auto [time, key] : c.notes) chart.tracks[0].Append(MakeNote(time, key));
        chart.usedTrackCount = 1;
        RunOverlapPass(chart);
        std::vector<uint16_t> lanes, hidden;
        for (const CNote& n : chart.tracks[0].Notes()) {
            lanes.push_back(n.lane);
            hidden.push_back(n.hidden);
        }
        EXPECT_EQ(lanes, c.lanes) << c.what;
        EXPECT_EQ(hidden, c.hidden) << c.what;
    }
}

TEST(FinishOpenedChart, DrumTracksGetTheDrumInstrumentUpToTheFirstEmptyTrack) {
    CChart chart = ChartOf({{0, 60}});
    chart.tracks[0].instrument = 5;
    chart.tracks[1].Append(MakeNote(0, 36, 1));
    chart.tracks[1].Notes()[0].status = 0x99;
    chart.tracks[3].Append(MakeNote(0, 36, 3));  // after an empty track: left alone
    chart.tracks[3].Notes()[0].status = 0x99;
    FinishOpenedChart(chart);
    EXPECT_EQ(chart.tracks[0].instrument, 5);
    EXPECT_EQ(chart.tracks[1].instrument, kDrumInstrument);
    EXPECT_EQ(chart.tracks[3].instrument, 0);
}
