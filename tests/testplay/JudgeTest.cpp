// The test-play judge: the windows at their edges, which note a press judges, held notes,
// the offset, the start point, the playback speed, combo and accuracy, and reading key events.

#include <gtest/gtest.h>

#include <cmath>

#include "support/TestChart.h"
#include "testplay/KeyEvents.h"

namespace {

TestNote Tap(double ms, int lane = 0) { return {ms, lane, std::nullopt, 0}; }
TestNote Hold(double ms, double end, int lane = 0) { return {ms, lane, end, 0}; }

}  // namespace

TEST(Judge, WindowsAtTheirEdgesBothWaysAndScaledBySpeed) {
    struct Case {
        double delta;
        double speed;
        Judgement expected;
    };
    const Case cases[] = {
        {0, 100, Judgement::Perfect},     {20, 100, Judgement::Perfect},   {-20, 100, Judgement::Perfect},
        {20.001, 100, Judgement::Great},  {-50, 100, Judgement::Great},    {50.5, 100, Judgement::Good},
        {-100, 100, Judgement::Good},     {100.01, 100, Judgement::Bad},   {150, 100, Judgement::Bad},
        {-150, 100, Judgement::Bad},      {150.01, 100, Judgement::Miss},  {-151, 100, Judgement::None},
        // A press after the window finds the note already missed; one before it is ignored.
        // At 50 % the song runs at half speed: 20 real ms are 10 song ms.
        {10, 50, Judgement::Perfect},     {10.5, 50, Judgement::Great},    {75, 50, Judgement::Bad},
        {76, 50, Judgement::Miss},        {30, 150, Judgement::Perfect},   {-225, 150, Judgement::Bad},
    };
    for (const Case& c : cases) {
        Judge judge({Tap(1000)}, c.speed);
        const std::optional<std::size_t> judged = judge.Press(0, 1000 + c.delta);
        EXPECT_EQ(judge.Results()[0].judgement, c.expected) << c.delta << " at " << c.speed << " %";
        EXPECT_EQ(judged.has_value(), c.expected != Judgement::None && c.expected != Judgement::Miss);
        if (judged) {
            EXPECT_NEAR(*judge.Results()[0].deltaMs, c.delta, 1e-9);
        }
    }
}

TEST(Judge, APressJudgesTheEarliestNoteOfItsLaneWhoseWindowHoldsIt) {
    // Two notes of lane 2 60 ms apart, a chord on lanes 0 and 4, a note of lane 2 far later.
    Judge judge({Tap(1000, 2), Tap(1060, 2), Tap(2000, 0), Tap(2000, 4), Tap(5000, 2)});
    EXPECT_EQ(judge.Press(2, 1050), 0u);  // GREAT on the first, though nearer the second
    EXPECT_EQ(judge.Press(2, 1061), 1u);
    EXPECT_EQ(judge.Press(3, 2000), std::nullopt);  // nothing in lane 3: ignored, no penalty
    EXPECT_EQ(judge.Press(4, 2010), 3u);
    EXPECT_EQ(judge.Press(0, 2151), std::nullopt);  // too late for the chord's other note
    EXPECT_EQ(judge.Results()[2].judgement, Judgement::Miss);
    EXPECT_EQ(judge.Press(2, 3000), std::nullopt);  // far too early for the last one
    judge.Advance(5150);
    EXPECT_EQ(judge.Results()[4].judgement, Judgement::None);  // its window's last moment
    judge.Advance(5150.5);
    EXPECT_EQ(judge.Results()[4].judgement, Judgement::Miss);
    const JudgeCounts& c = judge.Counts();
    EXPECT_EQ((std::array{c.perfect, c.great, c.good, c.bad, c.miss}), (std::array{2, 1, 0, 0, 2}));
}

TEST(Judge, HeldNotesReleasedEarlyOrLateAndMissedHeads) {
    struct Case {
        double press;
        std::optional<double> release;  // nothing: held to the end of the run
        double speed;
        Tail expected;
    };
    const Case cases[] = {
        {1000, 1850, 100, Tail::Ok},     {1000, 1849, 100, Tail::Break}, {1000, std::nullopt, 100, Tail::Ok},
        {1000, 2500, 100, Tail::Ok},     {1140, 1900, 100, Tail::Ok},    {1000, 1925, 50, Tail::Ok},
        {1000, 1924, 50, Tail::Break},   {1200, 2500, 100, Tail::None},  // head missed: no tail
    };
    for (const Case& c : cases) {
        Judge judge({Hold(1000, 2000)}, c.speed);
        judge.Press(0, c.press);
        if (c.release) judge.Release(0, *c.release);
        judge.Advance(1e9);
        EXPECT_EQ(judge.Results()[0].tail, c.expected) << c.press << " / " << c.release.value_or(-1);
    }
}

TEST(Judge, ComboAccuracyAndOffset) {
    std::vector<TestNote> notes;
    for (int i = 0; i < 6; ++i) notes.push_back(Tap(1000.0 * (i + 1), i % 7));
    notes.push_back(Hold(7000, 8000, 6));
    // The player hears 30 ms late and says so: every press is 30 ms later than it means.
    Judge judge(notes, 100, 30);
    judge.Press(0, 1030);         // PERFECT
    judge.Press(1, 2030 + 45);    // GREAT
    judge.Press(2, 3030 - 90);    // GOOD
    judge.Press(3, 4030 + 140);   // BAD: the combo ends at 3
    judge.Press(5, 6030);         // note 4 MISS before it, then PERFECT
    judge.Press(6, 7030);         // PERFECT: combo 2
    judge.Release(6, 7530);       // BREAK
    judge.Advance(1e9);
    const JudgeCounts& c = judge.Counts();
    EXPECT_EQ((std::array{c.perfect, c.great, c.good, c.bad, c.miss, c.breaks}), (std::array{3, 1, 1, 1, 1, 1}));
    EXPECT_EQ(judge.MaxCombo(), 3);
    EXPECT_EQ(judge.Combo(), 0);
    EXPECT_NEAR(judge.Accuracy(), (300.0 * 3 + 200 + 100 + 50) / (300.0 * 7) * 100, 1e-9);
    EXPECT_DOUBLE_EQ(*judge.Results()[1].deltaMs, 45);
    EXPECT_EQ(Judge({}).Accuracy(), 0);
}

TEST(Judge, NotesFromTheChartStartAtTheStartPointAndAPerfectPlayerGetsEverything) {
    CChart chart = MakeSampleChart();
    const std::span<const CNote> player = chart.PlayerNotes();
    ASSERT_GE(player.size(), 2u);
    chart.player.Notes()[1].longNote = true;
    chart.player.Notes()[1].length = 768;
    const std::vector<TestNote> all = NotesToPlay(chart, 0);
    ASSERT_EQ(all.size(), chart.PlayerNotes().size());
    EXPECT_DOUBLE_EQ(all[1].timeMs, chart.tempoMap.ChartTime().MsAt(player[1].time));
    EXPECT_DOUBLE_EQ(*all[1].endMs, chart.tempoMap.ChartTime().MsAt(player[1].time + 768));
    EXPECT_EQ(NotesToPlay(chart, player[1].time).size(), all.size() - 1);

    Judge judge(all);
    JudgeRun(judge, PerfectPlay(all));
    EXPECT_EQ(judge.Counts().perfect, static_cast<int>(all.size()));
    EXPECT_EQ(judge.Results()[1].tail, Tail::Ok);
    EXPECT_EQ(judge.Accuracy(), 100);
}

TEST(KeyEvents, ReadsLinesAndNamesTheBadOne) {
    std::vector<KeyEvent> events;
    std::string error;
    ASSERT_TRUE(ReadKeyEvents("10.5,0,down\n\n20,0,up\r\n20,6,down\n", events, error)) << error;
    ASSERT_EQ(events.size(), 3u);
    EXPECT_DOUBLE_EQ(events[0].ms, 10.5);
    EXPECT_FALSE(events[1].down);
    EXPECT_EQ(events[2].lane, 6);
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"1,0,down\n2,7,down", "line 2: lane 7 is outside 0..6"},
        {"1,0,down\n0.5,1,down", "line 2: the time goes back (the events must be in time order)"},
        {"1,0,down\n2,0,down", "line 2: lane 0 is already down"},
        {"1,3,up", "line 1: lane 3 is not down"},
        {"1;0;down", "line 1: expected ms,lane,down or ms,lane,up, not \"1;0;down\""},
        {"nan,0,down", "line 1: expected ms,lane,down or ms,lane,up, not \"nan,0,down\""},
        {"1,0,press", "line 1: expected ms,lane,down or ms,lane,up, not \"1,0,press\""},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(ReadKeyEvents(c.text, events, error)) << c.text;
        EXPECT_EQ(error, c.error);
    }
}
