#pragma once
// NoteEditor: what the mouse and keyboard do to the chart view. The window forwards its
// events in client pixels, with the Shift/Ctrl state and whether playback runs; what belongs
// to other parts of the program (file commands, options, transport) goes out as commands.
//
// Scrolls that repeat while a button is held, or while the rubber band is near the top or
// bottom edge, never block: the window calls RepeatStep() from a timer while Repeating().

#include <cstdint>
#include <functional>
#include <optional>

#include "ChartView.h"
#include "PlayFilterBoxes.h"

enum class EditorKey { Shift, PageUp, PageDown, Up, Down, F2, F3, F4, F5, F6, M, V, S, D, A, Z, Other };
enum class EditorCommand { OpenMidi, OpenChart, Save, SaveAs, Options, PlayPause, Stop };

class NoteEditor {
  public:
    explicit NoteEditor(ChartView& view) : view(view) {}

    void LeftButtonDown(int x, int y, bool playing);
    void LeftButtonUp(int x, int y);
    void RightButtonDown(int x, int y);
    void MouseMove(int x, int y);
    void Wheel(int delta);
    void KeyDown(EditorKey key, bool ctrl, bool playing);
    void KeyUp(EditorKey key);

    bool Repeating() const { return repeat != Repeat::None; }
    void RepeatStep();

    void SelectAll();
    void DeselectAll();
    void TogglePlaySelectedTrack();
    void TogglePlaySelectedNotes();

    std::function<void(EditorCommand)> onCommand;
    std::function<void()> setViewCursor;   // the view's own cursor while the mouse is over it
    std::function<void()> onBoxesChanged;  // the filter boxes changed (the palette shows them)
    std::function<void(bool)> setBusy;     // wait cursor on (true) and off around long jobs

    PlayFilterBoxes boxes;
    bool shiftHeld = false;

  private:
    enum class Repeat { None, UpButton, DownButton, NearTop, NearBottom };
    enum class Grab { None, TrackNote, ChartNote };

    void StartRepeat(Repeat kind);
    void EvaluateBand();
    void ToggleSelection(uint32_t index);
    void MoveGrabbedTrackNote(int x);
    void MoveGrabbedChartNote(int x);
    void EndPress();
    void Command(EditorCommand command);
    // Runs job(chart, current track) under the wait cursor, then repaints.
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
