// Gestures driven through the editor's handlers, as the window forwards them.

#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "editor/LengthTrim.h"

TEST(Gestures, ClickSelectsAndClickAgainDeselects) {
    EditorFixture f;
    f.Add(1000, 60);
    f.Load();
    f.ClickNote(0);
    EXPECT_TRUE(f.chart.tracks[0].At(0).selected);
    EXPECT_EQ(f.SelectedTimes(), std::vector<int32_t>{1000});
    EXPECT_EQ(f.view.rangeAnchor, 0u);
    f.ClickNote(0);
    EXPECT_FALSE(f.chart.tracks[0].At(0).selected);
    EXPECT_TRUE(f.SelectedTimes().empty());
}

TEST(Gestures, DraggingSidewaysMovesTheLaneWithoutToggling) {
    EditorFixture f;
    f.Add(1000, 60);  // lane 0
    f.Load();
    f.editor.LeftButtonDown(f.X(0), f.Y(1000), false);
    f.editor.MouseMove(f.X(1), f.Y(1000));
    f.editor.LeftButtonUp(f.X(1), f.Y(1000));
    EXPECT_EQ(f.chart.tracks[0].At(0).lane, 1);
    EXPECT_FALSE(f.chart.tracks[0].At(0).selected);
    EXPECT_EQ(f.view.rangeAnchor, 0u);  // set even though nothing toggled

    // A selected note takes its copy along.
    f.ClickNote(0);
    f.editor.LeftButtonDown(f.X(1), f.Y(1000), false);
    f.editor.MouseMove(f.X(3), f.Y(1000));
    f.editor.LeftButtonUp(f.X(3), f.Y(1000));
    EXPECT_EQ(f.chart.tracks[0].At(0).lane, 3);
    EXPECT_TRUE(f.chart.tracks[0].At(0).selected);
    EXPECT_EQ(f.chart.selection.GetAt(0).lane, 3);
}

TEST(Gestures, LaneMovesAreRefusedNextToNotesInTheTargetLane) {
    struct Case {
        int32_t otherTime;  // a note in lane 1 near the dragged note at 1000 in lane 0
        bool moves;
    };
    for (Case c : {Case{1096, false}, Case{1097, true}, Case{904, false}, Case{903, true}}) {
        EditorFixture f;
        f.Add(1000, 60);
        f.Add(c.otherTime, 62);
        if (c.otherTime < 1000) std::swap(f.chart.tracks[0].At(0), f.chart.tracks[0].At(1));
        f.Load();
        const uint32_t dragged = c.otherTime < 1000 ? 1 : 0;
        f.editor.LeftButtonDown(f.X(0), f.Y(1000), false);
        f.editor.MouseMove(f.X(1), f.Y(1000));
        f.editor.LeftButtonUp(f.X(1), f.Y(1000));
        EXPECT_EQ(f.chart.tracks[0].At(dragged).lane, c.moves ? 1 : 0) << c.otherTime;
    }
}

TEST(Gestures, SelectingNextToASelectedNoteInTheLaneIsRefused) {
    EditorFixture f;
    f.Add(1000, 60);
    f.Add(1100, 60);
    f.Add(1101 + 100, 60);
    f.Load();
    f.ClickNote(0);
    f.ClickNote(1);  // 100 ticks: within the cell height × INTERVAL, inclusive
    EXPECT_FALSE(f.chart.tracks[0].At(1).selected);
    EXPECT_EQ(f.SelectedTimes(), std::vector<int32_t>{1000});
}

TEST(Gestures, ShiftClickSelectsTheRangeSkippingCollisions) {
    EditorFixture f;
    // 98 ticks apart: far enough for the overlap pass, close enough to collide when selected.
    for (int32_t t : {1000, 1098, 1200, 1300, 1400}) f.Add(t, 60);
    f.Load();
    f.ClickNote(0);
    f.editor.KeyDown(EditorKey::Shift, {}, false);
    f.ClickNote(4);
    f.editor.KeyUp(EditorKey::Shift);
    EXPECT_EQ(f.SelectedTimes(), (std::vector<int32_t>{1000, 1200, 1400}));
    EXPECT_EQ(f.view.rangeAnchor, 0u);

    EditorFixture noAnchor;
    noAnchor.Add(1000, 60);
    noAnchor.Load();
    noAnchor.editor.KeyDown(EditorKey::Shift, {}, false);
    noAnchor.ClickNote(0);
    EXPECT_TRUE(noAnchor.SelectedTimes().empty());
}

TEST(Gestures, RubberBandInvertsWhatItCoversAndRestoresWhatItLeaves) {
    EditorFixture f;
    for (int32_t t : {1000, 1300, 1600}) f.Add(t, 60);
    f.Load();
    f.ClickNote(1);  // selected before the band
    // Start in an empty spot below the notes, drag up over the first two notes.
    const int x0 = f.X(0) + 12, y0 = f.Y(800);
    f.editor.LeftButtonDown(x0, y0, false);
    f.editor.MouseMove(f.X(1), f.Y(1400));
    EXPECT_TRUE(f.chart.tracks[0].At(0).selected);
    EXPECT_FALSE(f.chart.tracks[0].At(1).selected);
    EXPECT_FALSE(f.chart.tracks[0].At(2).selected);
    // Shrinking the band gives the second note back its selection.
    f.editor.MouseMove(f.X(1), f.Y(1100));
    EXPECT_TRUE(f.chart.tracks[0].At(0).selected);
    EXPECT_TRUE(f.chart.tracks[0].At(1).selected);
    f.editor.LeftButtonUp(f.X(1), f.Y(1100));
    for (const CNote& n : f.chart.tracks[0].Notes()) EXPECT_FALSE(n.swept);
    EXPECT_EQ(f.SelectedTimes(), (std::vector<int32_t>{1000, 1300}));
    EXPECT_EQ(f.view.rangeAnchor, 1u);  // the last note the band toggled on entering
}

TEST(Gestures, BandNearTheTopScrollsUntilTheSongEnds) {
    EditorFixture f;
    f.Add(0, 60);
    f.Add(20000, 62, 0, 500);  // song length 20500
    f.Load();
    f.editor.LeftButtonDown(f.X(3), f.Y(2000), false);
    f.editor.MouseMove(f.X(3), f.view.geometry.margin + 2);
    int steps = 0;
    while (f.editor.Repeating() && steps < 1000) {
        f.editor.RepeatStep();
        ++steps;
    }
    EXPECT_EQ(f.view.position, 20500);
    EXPECT_LT(steps, 1000);
    // Moving away from the edge ends the repeat at once.
    EditorFixture g;
    g.Add(20000, 60);
    g.Load();
    g.editor.LeftButtonDown(g.X(3), g.Y(2000), false);
    g.editor.MouseMove(g.X(3), g.view.geometry.margin + 2);
    g.editor.MouseMove(g.X(3), 300);
    g.editor.RepeatStep();
    EXPECT_FALSE(g.editor.Repeating());
    EXPECT_EQ(g.view.position, 100);  // the first step only
}

TEST(Gestures, ScrollButtonsRepeatWhileHeldAndTheWheelMovesFiveSteps) {
    EditorFixture f;
    f.Add(5000, 60);
    f.Load();
    const Rect up = f.view.geometry.UpButton();
    f.editor.LeftButtonDown(up.left + 5, up.top + 5, false);
    f.editor.RepeatStep();
    f.editor.RepeatStep();
    EXPECT_EQ(f.view.position, 300);
    EXPECT_TRUE(f.view.drag.upHeld);
    f.editor.LeftButtonUp(up.left + 5, up.top + 5);
    EXPECT_FALSE(f.editor.Repeating());
    EXPECT_EQ(f.seeks.back(), 300);

    f.editor.Wheel(-120);
    EXPECT_EQ(f.view.position, 0);
    const int repaints = f.repaints;
    f.editor.Wheel(-120);  // already at 0: no redraw
    EXPECT_EQ(f.repaints, repaints);
    f.editor.Wheel(120);
    EXPECT_EQ(f.view.position, 500);
    f.editor.KeyDown(EditorKey::PageUp, {}, false);
    EXPECT_EQ(f.view.position, 5100);  // one screen is 5800 ticks, clamped to the song length
}

TEST(Gestures, RightClickTogglesHeldNotesOnLongNotesOnly) {
    EditorFixture f;
    f.Add(1000, 60, 0, 767);  // short
    f.Add(2000, 62, 0, 768);  // long
    f.Load();
    f.editor.RightButtonDown(f.X(0), f.Y(1000));
    EXPECT_FALSE(f.chart.tracks[0].At(0).longNote);
    f.ClickNote(1);
    f.chart.selectionChanged = false;
    f.editor.RightButtonDown(f.X(1), f.Y(2000));
    EXPECT_TRUE(f.chart.tracks[0].At(1).longNote);
    EXPECT_TRUE(f.chart.selection.GetAt(0).longNote);
    EXPECT_TRUE(f.chart.selectionChanged);
    // In the chart area the copy and its source note follow each other.
    f.editor.RightButtonDown(f.X(1 + 8), f.Y(2000));
    EXPECT_FALSE(f.chart.selection.GetAt(0).longNote);
    EXPECT_FALSE(f.chart.tracks[0].At(1).longNote);
}

TEST(Gestures, ClickingAChartNoteOfAnotherTrackMakesItCurrent) {
    EditorFixture f;
    f.Add(1000, 60, 0);
    f.Add(2000, 64, 2);
    f.Load();
    f.view.SetCurrentTrack(2);
    f.ClickNote(0);
    f.view.SetCurrentTrack(0);
    EXPECT_FALSE(f.view.rangeAnchor);  // dropped with the track change
    f.Click(f.X(2 + 8), f.Y(2000));
    EXPECT_EQ(f.view.currentTrack, 2);
    EXPECT_EQ(f.rows.back(), 2);
}

TEST(Gestures, PlayFilterKeys) {
    EditorFixture f;
    f.Add(1000, 60);
    f.Load();
    f.view.SetCurrentTrack(0);
    f.editor.KeyDown(EditorKey::F5, {}, false);
    EXPECT_TRUE(f.editor.boxes.selectedTrack);
    EXPECT_FALSE(f.chart.tracks[0].muted);
    EXPECT_TRUE(f.chart.tracks[1].muted);
    f.editor.KeyDown(EditorKey::F6, {}, false);  // turns the other box off first
    EXPECT_FALSE(f.editor.boxes.selectedTrack);
    EXPECT_TRUE(f.editor.boxes.selectedNotes);
    EXPECT_FALSE(f.editor.boxes.selectedTrackEnabled);
    EXPECT_FALSE(f.chart.player.muted);
    EXPECT_TRUE(f.chart.tracks[0].muted);
    f.editor.KeyDown(EditorKey::F5, {}, false);  // refused while only the player's notes play
    EXPECT_FALSE(f.editor.boxes.selectedTrack);
    f.editor.KeyDown(EditorKey::F6, {}, false);
    EXPECT_FALSE(f.editor.boxes.selectedNotes);
    EXPECT_TRUE(f.editor.boxes.selectedTrackEnabled);
    EXPECT_TRUE(f.chart.player.muted);
    EXPECT_FALSE(f.chart.tracks[5].muted);
}

TEST(Gestures, CommandsAndShortcuts) {
    EditorFixture f;
    f.editor.KeyDown(EditorKey::M, {.ctrl = true}, false);    // works without a chart
    f.editor.KeyDown(EditorKey::F3, {}, false);  // needs a chart
    f.editor.KeyDown(EditorKey::F2, {}, true);   // not while playing
    EXPECT_EQ(f.commands, std::vector<EditorCommand>{EditorCommand::OpenMidi});
    f.Add(1000, 60);
    f.Add(2000, 62);
    f.Load();
    f.editor.KeyDown(EditorKey::A, {.ctrl = true}, false);
    EXPECT_EQ(f.chart.selection.Count(), 2);
    f.editor.KeyDown(EditorKey::Z, {.ctrl = true}, false);
    EXPECT_EQ(f.chart.selection.Count(), 0);
    f.editor.KeyDown(EditorKey::S, {.ctrl = true}, false);
    EXPECT_EQ(f.commands.back(), EditorCommand::Save);
    f.editor.KeyDown(EditorKey::F4, {}, false);
    EXPECT_EQ(f.commands.back(), EditorCommand::Stop);
    // A press while playing starts nothing: no drag, no scroll.
    const Rect up = f.view.geometry.UpButton();
    f.editor.LeftButtonDown(up.left + 5, up.top + 5, true);
    EXPECT_FALSE(f.editor.Repeating());
    EXPECT_EQ(f.view.position, 0);
}

TEST(LengthTrim, LeavesAGapOfExactlyTenTimesD) {
    struct Case {
        int32_t length;    // of a note at 0
        int32_t nextTime;  // of the next note with the same key and lane
        int32_t trimmed;
    };
    // d = 6: a note ending less than 60 ticks before the next is cut to end 60 ticks before it.
    for (Case c : {Case{500, 560, 500}, Case{500, 559, 499}, Case{500, 501, 441}, Case{500, 500, 500},
                   Case{500, 30, 500}, Case{10, 40, 0}}) {
        CNoteTrack track;
        track.Append(MakeNote(0, 60, 0, c.length));
        track.Append(MakeNote(c.nextTime, 60, 0, 100));
        TrimLengths(track, 6);
        EXPECT_EQ(track.At(0).length, c.trimmed) << c.length << " " << c.nextTime;
    }
    CNoteTrack otherKey;
    otherKey.Append(MakeNote(0, 60, 0, 500));
    otherKey.Append(MakeNote(510, 61, 0, 100));  // same lane, other key
    TrimLengths(otherKey, 6);
    EXPECT_EQ(otherKey.At(0).length, 500);
}
