// Undo and redo: random gestures through the editor's handlers, each one undoable step, then
// undone and redone step by step, comparing the chart as a save would store it.

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "EditorFixture.h"
#include "chart/ChartInfo.h"

namespace {

// The chart information and player block a save writes.
std::vector<uint8_t> Stored(const CChart& chart) {
    CChart copy = chart;
    if (copy.selectionChanged) copy.RebuildPlayerFromSelection();
    ByteWriter out;
    WriteChartInfo(copy, out);
    WriteTrackBlock(copy.player, out);
    return std::move(out.Data());
}

struct UndoFixture : EditorFixture {
    explicit UndoFixture(unsigned seed) : rng(seed) {
        editor.onHistoryChanged = [this](const EditStep*) { ++historyChanges; };
        for (uint16_t track = 0; track < 3; ++track) {
            int32_t time = 200;
            for (int i = 0; i < 40; ++i) {
                // Some notes close enough for the overlap pass to hide, some long.
                time += Pick(4) == 0 ? 40 : 150 + Pick(300);
                const int32_t lengths[] = {100, 400, 800, 1600};
                Add(time, static_cast<uint8_t>(36 + Pick(60)), track, lengths[Pick(4)]);
            }
        }
        Load();
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    void Show(int32_t time) { view.SetPosition(std::max(0, time - 1000), false); }
    const CNote& Note(uint32_t i) { return view.CurrentTrack().At(i); }
    uint32_t RandomNote() { return static_cast<uint32_t>(Pick(static_cast<int>(view.CurrentTrack().Count()))); }

    // Presses at a note's head (column = lane, or lane + 8 for its selection entry), moves to
    // another column of the same area and releases there.
    void Drag(int32_t time, int column, int toColumn) {
        Show(time);
        editor.LeftButtonDown(X(column), Y(time), false);
        editor.MouseMove(X(toColumn), Y(time));
        editor.LeftButtonUp(X(toColumn), Y(time));
    }

    void RandomGesture() {
        const uint32_t i = RandomNote();
        const CNoteList& selection = chart.selection;
        const int entry = selection.Count() ? Pick(selection.Count()) : -1;
        switch (Pick(12)) {
            case 0:
                Show(Note(i).time);
                ClickNote(i);
                break;
            case 1: {  // the range from the last clicked note
                const uint32_t j = std::min(i + static_cast<uint32_t>(Pick(6)), view.CurrentTrack().Count() - 1);
                if (view.rangeAnchor) Show(Note(*view.rangeAnchor).time);
                editor.shiftHeld = true;
                ClickNote(j);
                editor.shiftHeld = false;
                break;
            }
            case 2: {  // a rubber band from anywhere in the track area
                const int32_t time = Note(i).time;
                Show(time);
                editor.LeftButtonDown(X(Pick(7)) + Pick(20) - 10, Y(time + Pick(600) - 300), false);
                editor.MouseMove(X(Pick(7)), Y(time + Pick(2000)));
                editor.MouseMove(X(Pick(7)), Y(time + Pick(2000)));
                editor.LeftButtonUp(X(Pick(7)), Y(time + Pick(2000)));
                break;
            }
            case 3: Drag(Note(i).time, Note(i).lane, Pick(7)); break;
            case 4:
                if (entry >= 0) Drag(selection.GetAt(entry).time, selection.GetAt(entry).lane + 8, Pick(7) + 8);
                break;
            case 5:
                Show(Note(i).time);
                editor.RightButtonDown(X(Note(i).lane), Y(Note(i).time));
                break;
            case 6:
                if (entry < 0) break;
                Show(selection.GetAt(entry).time);
                editor.RightButtonDown(X(selection.GetAt(entry).lane + 8), Y(selection.GetAt(entry).time));
                break;
            case 7:  // Select All or Delete All
                if (Pick(2))
                    editor.KeyDown(EditorKey::A, {.ctrl = true}, false);
                else
                    editor.KeyDown(EditorKey::D, {.ctrl = true, .shift = true}, false);
                break;
            case 8: editor.TrimTrack(Pick(3), 1 + Pick(10)); break;
            case 9: {
                SongFields fields = SongFieldsOf(chart.songInfo);
                const std::string words[] = {"Sunrise", "Run", "Unknown", ""};
                (Pick(2) ? fields.title : fields.author) = words[Pick(4)];
                fields.level = static_cast<int16_t>(Pick(10));
                editor.SetSongFields(fields);
                break;
            }
            default: view.SetCurrentTrack(Pick(3)); break;  // not an edit
        }
    }

    std::mt19937 rng;
    int historyChanges = 0;
};

}  // namespace

TEST(Undo, RandomGesturesUndoneAndRedoneStepByStep) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        UndoFixture f(seed);
        std::vector<std::vector<uint8_t>> states{Stored(f.chart)};
        for (int g = 0; g < 150; ++g) {
            const int before = f.historyChanges;
            f.RandomGesture();
            ASSERT_LE(f.historyChanges - before, 1) << "one step per gesture";
            if (f.historyChanges > before) states.push_back(Stored(f.chart));
        }
        ASSERT_GT(states.size(), 40u);  // most gestures are edits
        EXPECT_FALSE(f.editor.history.IsClean());
        for (std::size_t k = states.size() - 1; k > 0; --k) {
            f.editor.Undo();
            ASSERT_EQ(Stored(f.chart), states[k - 1]) << "undoing step " << k;
        }
        EXPECT_FALSE(f.editor.history.CanUndo());
        EXPECT_TRUE(f.editor.history.IsClean());
        for (std::size_t k = 1; k < states.size(); ++k) {
            f.editor.Redo();
            ASSERT_EQ(Stored(f.chart), states[k]) << "redoing step " << k;
        }
        EXPECT_FALSE(f.editor.history.CanRedo());
    }
}

TEST(Undo, KeysFollowTheCtrlZChoice) {
    struct Case {
        bool ctrlZUndoes;
        EditorKey key;
        KeyModifiers modifiers;
        int selectedAfter;  // selected notes after: 2 select-all'd, then the key
    };
    for (Case c : {Case{false, EditorKey::Z, {.ctrl = true}, 0},                  // Delete All
                   Case{true, EditorKey::Z, {.ctrl = true}, 1},                   // undoes the second click
                   Case{false, EditorKey::Backspace, {.alt = true}, 1},           // undo
                   Case{true, EditorKey::D, {.ctrl = true, .shift = true}, 0},   // Delete All
                   Case{false, EditorKey::D, {.ctrl = true, .shift = true}, 2}}) {  // Save As
        EditorFixture f;
        f.Add(1000, 60);
        f.Add(2000, 62);
        f.Load();
        f.editor.ctrlZUndoes = c.ctrlZUndoes;
        f.ClickNote(0);
        f.ClickNote(1);
        f.editor.KeyDown(c.key, c.modifiers, false);
        EXPECT_EQ(f.chart.selection.Count(), c.selectedAfter) << c.ctrlZUndoes << int(c.key);
        // Redo keys bring an undone click back; nothing moves while playing.
        f.editor.KeyDown(EditorKey::Y, {.ctrl = true}, true);
        EXPECT_EQ(f.chart.selection.Count(), c.selectedAfter);
        f.editor.KeyDown(EditorKey::Z, {.ctrl = true, .shift = true}, false);
        EXPECT_EQ(f.chart.selection.Count(), c.selectedAfter == 1 ? 2 : c.selectedAfter);
    }
}

TEST(Undo, TheViewMovesToAChangeOutOfSight) {
    EditorFixture f;
    f.Add(1000, 60, 0);
    f.Add(30000, 60, 1, 800);
    f.Load();
    f.view.SetCurrentTrack(1);
    f.view.SetPosition(29000, false);
    f.ClickNote(0);  // track 1's note at 30000
    f.view.SetCurrentTrack(0);
    f.view.SetPosition(0, false);
    f.editor.Undo();
    EXPECT_EQ(f.view.currentTrack, 1);
    EXPECT_LE(f.view.position, 30000);
    EXPECT_LE(f.view.Offset(30000), f.view.geometry.TopLimit());
    EXPECT_FALSE(f.chart.tracks[1].At(0).selected);
}

TEST(Undo, HistoryKeepsTheLastThousandStepsAndItsCleanPoint) {
    EditorFixture f;
    f.Add(1000, 60);
    f.Load();
    const std::vector<uint8_t> start = Stored(f.chart);
    f.ClickNote(0);
    f.editor.history.MarkClean();  // saved with the note selected
    f.ClickNote(0);
    EXPECT_FALSE(f.editor.history.IsClean());
    f.editor.Undo();
    EXPECT_TRUE(f.editor.history.IsClean());
    // A new step after undoing forgets the redo and the clean point it held.
    f.editor.Undo();
    f.editor.DeselectAll();  // changes nothing: no step, redo still possible
    EXPECT_TRUE(f.editor.history.CanRedo());
    f.editor.SelectAll();
    EXPECT_FALSE(f.editor.history.CanRedo());
    EXPECT_FALSE(f.editor.history.IsClean());

    const std::size_t extra = 5;
    for (std::size_t i = 1; i < EditHistory::kDepth + extra; ++i) f.ClickNote(0);  // SelectAll was one
    int undone = 0;
    while (f.editor.history.CanUndo()) {
        f.editor.Undo();
        ++undone;
    }
    EXPECT_EQ(undone, static_cast<int>(EditHistory::kDepth));
    EXPECT_NE(Stored(f.chart), start);  // the oldest steps are forgotten: selected after 5 toggles
    EXPECT_TRUE(f.chart.tracks[0].At(0).selected);
    EXPECT_FALSE(f.editor.history.IsClean());

    f.editor.ChartReplaced();
    EXPECT_TRUE(f.editor.history.IsClean());
    EXPECT_FALSE(f.editor.history.CanRedo());
}
