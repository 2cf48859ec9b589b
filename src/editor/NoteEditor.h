#pragma once
// NoteEditor: what the mouse and keyboard do to the chart view. The window forwards its
// events in client pixels, with the Shift/Ctrl state and whether playback runs; what belongs
// to other parts of the program (file commands, options, transport) goes out as commands.
//
// Every change of the chart goes through the history, one undoable step per gesture: a press
// of the left button up to its release, a right click, Select All, Delete All, the length
// trim and a change of the song information.
//
// Scrolls that repeat while a button is held, or while the rubber band is near the top or
// bottom edge, never block: the window calls RepeatStep() from a timer while Repeating().

#include <cstdint>
#include <functional>
#include <optional>

#include "ChartView.h"
#include "EditHistory.h"
#include "PlayFilterBoxes.h"

enum class EditorKey { Shift, PageUp, PageDown, Up, Down, F2, F3, F4, F5, F6, M, V, S, D, A, Z, Y, Backspace, Other };

struct KeyModifiers {
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};
enum class EditorCommand { OpenMidi, OpenChart, Save, SaveAs, Options, PlayPause, Stop };

class NoteEditor {
  public:
    explicit NoteEditor(ChartView& view) : view(view) {}

    void LeftButtonDown(int x, int y, bool playing);
    void LeftButtonUp(int x, int y);
    void RightButtonDown(int x, int y);
    void MouseMove(int x, int y);
    void Wheel(int delta);
    // The note whose head is under (x, y): a visible note of the current track in the track
    // area, or a player's note in the chart area.
    struct Hovered {
        CNote note;
        bool playerNote = false;
    };
    std::optional<Hovered> NoteAt(int x, int y);
    // Ctrl+Z undoes and Ctrl+Shift+D is Delete All; with the classic keys (ctrlZUndoes off)
    // Ctrl+Z is Delete All. Alt+Backspace undoes, Ctrl+Y and Ctrl+Shift+Z redo. No undo or redo while playing.
    void KeyDown(EditorKey key, KeyModifiers modifiers, bool playing);
    void KeyUp(EditorKey key);

    bool Repeating() const { return repeat != Repeat::None; }
    void RepeatStep();

    void SelectAll();
    void DeselectAll();
    // The player's notes become exactly `notes` (track, index, held), as one undoable step.
    struct Choice {
        int track = 0;
        uint32_t index = 0;
        bool held = false;
    };
    void ReplacePlayerNotes(const std::vector<Choice>& notes);
    // Before a save: Select All when the chart has no player notes, as its own step.
    void SelectAllIfNoneSelected();
    // The length trim of the options dialog on `track`, with trim step `d`.
    void TrimTrack(int track, int d);
    // The palette's song information fields, one step when any of them differs.
    void SetSongFields(const SongFields& fields);
    // Undo and redo one step; the view moves to show the change when it does not.
    void Undo();
    void Redo();
    // Another chart was opened or converted: its history starts empty and clean.
    void ChartReplaced();
    void TogglePlaySelectedTrack();
    void TogglePlaySelectedNotes();

    std::function<void(EditorCommand)> onCommand;
    std::function<void()> setViewCursor;   // the view's own cursor while the mouse is over it
    std::function<void()> onBoxesChanged;  // the filter boxes changed (the palette shows them)
    std::function<void(bool)> setBusy;     // wait cursor on (true) and off around long jobs
    // A step was kept or the history cleared (null), or this step was undone or redone.
    std::function<void(const EditStep* restored)> onHistoryChanged;

    PlayFilterBoxes boxes;
    EditHistory history;
    bool shiftHeld = false;
    bool ctrlZUndoes = true;

  private:
    enum class Repeat { None, UpButton, DownButton, NearTop, NearBottom };
    enum class Grab { None, TrackNote, ChartNote };

    void StartRepeat(Repeat kind);
    void EvaluateBand();
    void ToggleSelection(uint32_t index);
    void MoveGrabbedTrackNote(int x);
    void MoveGrabbedChartNote(int x);
    void EndPress();
    // Applies change(NoteState&) to note `note` of `track` and to selection entry `entry`,
    // whichever are given, as part of the gesture's step; a selected note or an entry marks the
    // selection changed.
    template <typename Change>
    void ChangeNote(int track, std::optional<uint32_t> note, std::optional<int> entry, Change change);
    // Keeps the gesture's step in the history.
    void CommitStep();
    void ShowPlace(const EditPlace& place);
    void Command(EditorCommand command);
    // Runs job(chart, current track, step) under the wait cursor, keeps the step, repaints.
    template <typename Job>
    void WholeTrackJob(Job job);
    // Calls visit(index, note) for the current track's notes the view shows, in order.
    template <typename Visit>
    void ForVisibleTrackNotes(Visit visit);
    // Calls visit(index, entry) for the selection entries under (x, y) in the chart area.
    template <typename Visit>
    void ForChartEntriesAt(int x, int y, Visit visit);

    ChartView& view;
    Repeat repeat = Repeat::None;
    Grab grab = Grab::None;
    uint32_t grabbed = 0;
    bool moved = false;
    bool nearTop = false;
    bool nearBottom = false;
};
