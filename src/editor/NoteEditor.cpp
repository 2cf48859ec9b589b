#include "NoteEditor.h"

#include <algorithm>

#include "LengthTrim.h"
#include "NoteLookup.h"
#include "chart/Selection.h"
#include "io/Clamp.h"

namespace {
constexpr int kEdgeZone = 5;  // pixels from the top or bottom edge that scroll a rubber band
}  // namespace

// Visits the current track's notes that the view shows, in order: not hidden, not below the
// position, up to the first note above the lanes.
template <typename Visit>
void NoteEditor::ForVisibleTrackNotes(Visit visit) {
    auto notes = view.CurrentTrack().Notes();
    for (uint32_t i = 0; i < notes.size(); ++i) {
        const CNote& note = notes[i];
        if (note.time < view.position || note.hidden) continue;
        if (view.Offset(note.time) > view.geometry.TopLimit()) break;
        visit(i, note);
    }
}

// Visits the selection entries whose heads contain (x, y) in the chart area, in order. Entries
// whose head lies within the bottom margin's height of the lanes' bottom edge are passed over,
// as the view treats them as already played.
template <typename Visit>
void NoteEditor::ForChartEntriesAt(int x, int y, Visit visit) {
    const CNoteList& selection = view.Chart().selection;
    for (int i = 0; i < selection.Count(); ++i) {
        const CNote& entry = selection.GetAt(i);
        const int64_t offset = view.Offset(entry.time);
        if (offset < view.geometry.margin) continue;
        if (offset > view.geometry.TopLimit()) break;
        if (view.HeadRect(entry.time, entry.lane + 8).Contains(x, y)) visit(i, entry);
    }
}

std::optional<NoteEditor::Hovered> NoteEditor::NoteAt(int x, int y) {
    std::optional<Hovered> found;
    if (!view.HasChart()) return found;
    const ViewGeometry& g = view.geometry;
    if (g.TrackArea().Contains(x, y)) {
        ForVisibleTrackNotes([&](uint32_t, const CNote& note) {
            if (view.HeadRect(note.time, note.lane).Contains(x, y)) found = Hovered{note, note.selected};
        });
    } else if (g.ChartArea().Contains(x, y)) {
        ForChartEntriesAt(x, y, [&](int, const CNote& entry) { found = Hovered{entry, true}; });
    }
    return found;
}

void NoteEditor::Command(EditorCommand command) {
    if (onCommand) onCommand(command);
}

void NoteEditor::StartRepeat(Repeat kind) {
    repeat = kind;
    RepeatStep();
}

void NoteEditor::RepeatStep() {
    const int step = view.settings.scroll;
    bool going = false;
    switch (repeat) {
        case Repeat::None: return;
        case Repeat::UpButton: going = view.drag.upHeld && view.ScrollBy(step); break;
        case Repeat::DownButton: going = view.drag.downHeld && view.ScrollBy(-step); break;
        case Repeat::NearTop: going = view.drag.rubberBand && nearTop && view.ScrollBy(step); break;
        case Repeat::NearBottom: going = view.drag.rubberBand && nearBottom && view.ScrollBy(-step); break;
    }
    if (going && (repeat == Repeat::NearTop || repeat == Repeat::NearBottom)) EvaluateBand();
    if (!going) repeat = Repeat::None;
}

void NoteEditor::LeftButtonDown(int x, int y, bool playing) {
    if (!view.HasChart() || playing) return;
    const ViewGeometry& g = view.geometry;
    DragState& d = view.drag;
    if (g.UpButton().Contains(x, y)) {
        d.upHeld = true;
        StartRepeat(Repeat::UpButton);
        return;
    }
    if (g.DownButton().Contains(x, y)) {
        d.downHeld = true;
        StartRepeat(Repeat::DownButton);
        return;
    }
    if (view.thumb.Contains(x, y)) {
        d.thumbDrag = true;
        d.thumbGrabOffset = view.thumb.bottom - y;
        return;
    }
    d.anchorTime = view.TimeAt(y);
    d.anchorX = x;
    d.anchorY = y;
    d.anchorLane = g.TrackLaneAt(x);
    d.mouseX = x;
    d.mouseY = y;
    grab = Grab::None;
    if (g.TrackArea().Contains(x, y)) {
        ForVisibleTrackNotes([&](uint32_t i, const CNote& note) {
            if (view.HeadRect(note.time, note.lane).Contains(x, y)) {
                grab = Grab::TrackNote;
                grabbed = i;
            }
        });
    } else if (g.ChartArea().Contains(x, y)) {
        ForChartEntriesAt(x, y, [&](int i, const CNote&) {
            grab = Grab::ChartNote;
            grabbed = static_cast<uint32_t>(i);
        });
    }
    if (grab == Grab::None) d.rubberBand = true;
}

void NoteEditor::MouseMove(int x, int y) {
    const ViewGeometry& g = view.geometry;
    if (g.View().Contains(x, y) && setViewCursor) setViewCursor();
    if (!view.HasChart()) return;
    DragState& d = view.drag;
    d.mouseX = x;
    d.mouseY = y;
    if (y > g.margin + kEdgeZone) nearTop = false;
    if (y < g.Bottom() - kEdgeZone) nearBottom = false;
    const bool scrollingBusy = repeat == Repeat::NearTop || repeat == Repeat::NearBottom;
    if (scrollingBusy) return;

    if (d.rubberBand) {
        EvaluateBand();
        if (y < g.margin + kEdgeZone) {
            nearTop = true;
            StartRepeat(Repeat::NearTop);
        } else if (y > g.Bottom() - kEdgeZone) {
            nearBottom = true;
            StartRepeat(Repeat::NearBottom);
        }
        return;
    }
    if (d.thumbDrag) {
        const int64_t pixels = g.Bottom() - g.buttonHeight - d.thumbGrabOffset - y;
        view.SetPosition(ClampToI32(int64_t{pixels} * view.thumbScale), true);
        view.Invalidate();
        return;
    }
    if (grab == Grab::TrackNote) MoveGrabbedTrackNote(x);
    if (grab == Grab::ChartNote) MoveGrabbedChartNote(x);
}

template <typename Change>
void NoteEditor::ChangeNote(int track, std::optional<uint32_t> note, std::optional<int> entry, Change change) {
    CChart& chart = view.Chart();
    EditStep& step = history.Record();
    if (entry) {
        NoteState state = StateOf(chart.selection.GetAt(*entry));
        change(state);
        step.SetEntry(chart, *entry, state);
    }
    if (note) {
        NoteState state = StateOf(chart.tracks[static_cast<std::size_t>(track)].At(*note));
        if (state.selected) chart.selectionChanged = true;
        change(state);
        step.SetTrackNote(chart, track, *note, state);
    }
}

void NoteEditor::MoveGrabbedTrackNote(int x) {
    CChart& chart = view.Chart();
    const CNote& note = view.CurrentTrack().At(grabbed);
    const auto lane = static_cast<uint16_t>(view.geometry.TrackLaneAt(x));
    if (lane == note.lane ||
        !TrackNoteMoveAllowed(chart, view.currentTrack, grabbed, lane, view.position, view.CollisionWindow()))
        return;
    moved = true;
    // The copy is found by the lane the note still has.
    const std::optional<int> copy = note.selected ? FindCopy(chart, note) : std::nullopt;
    ChangeNote(view.currentTrack, grabbed, copy, [lane](NoteState& state) { state.lane = lane; });
    view.Invalidate();
}

void NoteEditor::MoveGrabbedChartNote(int x) {
    CChart& chart = view.Chart();
    if (static_cast<int>(grabbed) >= chart.selection.Count()) return;
    const CNote& entry = chart.selection.GetAt(static_cast<int>(grabbed));
    const auto lane = static_cast<uint16_t>(view.geometry.ChartLaneAt(x));
    if (lane == entry.lane ||
        !ChartNoteMoveAllowed(chart, static_cast<int>(grabbed), lane, view.position, view.CollisionWindow()))
        return;
    moved = true;
    ChangeNote(entry.track, FindSourceNote(chart, entry, view.position), static_cast<int>(grabbed),
               [lane](NoteState& state) { state.lane = lane; });
    view.Invalidate();
}

void NoteEditor::ToggleSelection(uint32_t index) {
    EditStep& step = history.Record();
    if (view.CurrentTrack().At(index).selected)
        step.Deselect(view.Chart(), view.currentTrack, index);
    else
        step.Select(view.Chart(), view.currentTrack, index, view.CollisionWindow());
}

void NoteEditor::EvaluateBand() {
    const DragState& d = view.drag;
    const int laneNow = view.geometry.TrackLaneAt(d.mouseX);
    const int laneLow = std::min(d.anchorLane, laneNow), laneHigh = std::max(d.anchorLane, laneNow);
    const int32_t timeNow = view.TimeAt(d.mouseY);
    const int32_t timeLow = std::min(d.anchorTime, timeNow), timeHigh = std::max(d.anchorTime, timeNow);
    ForVisibleTrackNotes([&](uint32_t i, const CNote& note) {
        const bool inside =
            note.time >= timeLow && note.time <= timeHigh && note.lane >= laneLow && note.lane <= laneHigh;
        if (inside && !note.swept) {
            ToggleSelection(i);
            view.CurrentTrack().At(i).swept = true;
            view.rangeAnchor = i;
        } else if (!inside && note.swept) {
            ToggleSelection(i);
            view.CurrentTrack().At(i).swept = false;
        }
    });
    view.Invalidate();
}

void NoteEditor::LeftButtonUp(int x, int y) {
    if (!view.HasChart()) {
        EndPress();
        return;
    }
    const ViewGeometry& g = view.geometry;
    if (g.TrackArea().Contains(x, y)) {
        ForVisibleTrackNotes([&](uint32_t i, const CNote& note) {
            if (!view.HeadRect(note.time, note.lane).Contains(x, y)) return;
            if (shiftHeld) {
                if (!view.rangeAnchor) return;
                const uint32_t from = std::min(*view.rangeAnchor, i), to = std::max(*view.rangeAnchor, i);
                for (uint32_t k = from; k <= to; ++k)
                    history.Record().Select(view.Chart(), view.currentTrack, k, view.CollisionWindow());
                return;
            }
            if (!moved) ToggleSelection(i);
            view.rangeAnchor = i;
        });
    } else if (g.ChartArea().Contains(x, y) && !moved) {
        ForChartEntriesAt(x, y, [&](int, const CNote& entry) {
            if (entry.track == view.currentTrack) return;
            view.SetCurrentTrack(entry.track);
            view.Invalidate();
        });
    }
    EndPress();
    view.Invalidate();
}

void NoteEditor::EndPress() {
    DragState& d = view.drag;
    d.upHeld = d.downHeld = d.thumbDrag = false;
    if (d.rubberBand && view.HasChart()) {
        for (CNote& note : view.CurrentTrack().Notes()) note.swept = false;
    }
    d.rubberBand = false;
    d.anchorTime = 0;
    d.anchorX = d.anchorY = 0;
    grab = Grab::None;
    moved = false;
    nearTop = nearBottom = false;
    repeat = Repeat::None;
    CommitStep();
}

void NoteEditor::CommitStep() {
    if (history.Commit() && onHistoryChanged) onHistoryChanged(nullptr);
}

void NoteEditor::RightButtonDown(int x, int y) {
    if (!view.HasChart()) return;
    const ViewGeometry& g = view.geometry;
    CChart& chart = view.Chart();
    if (g.TrackArea().Contains(x, y)) {
        const auto notes = view.CurrentTrack().Notes();
        for (uint32_t i = 0; i < notes.size(); ++i) {
            const CNote& note = notes[i];
            if (note.hidden || !view.IsLong(note)) continue;
            if (view.Offset(note.time) > g.TopLimit()) break;
            if (!view.HeadRect(note.time, note.lane).Contains(x, y)) continue;
            const bool held = !note.longNote;
            ChangeNote(view.currentTrack, i, note.selected ? FindCopy(chart, note) : std::nullopt,
                       [held](NoteState& state) { state.longNote = held; });
            break;
        }
    } else if (g.ChartArea().Contains(x, y)) {
        for (int i = 0; i < chart.selection.Count(); ++i) {
            const CNote& entry = chart.selection.GetAt(i);
            if (entry.time < view.position || !view.IsLong(entry)) continue;
            if (view.Offset(entry.time) > g.TopLimit()) break;
            if (!view.HeadRect(entry.time, entry.lane + 8).Contains(x, y)) continue;
            const bool held = !entry.longNote;
            ChangeNote(entry.track, FindSourceNote(chart, entry, view.position), i,
                       [held](NoteState& state) { state.longNote = held; });
            break;
        }
    }
    CommitStep();
    view.Invalidate();
}

void NoteEditor::Wheel(int delta) {
    if (!view.HasChart() || delta == 0) return;
    view.ScrollBy(int64_t{5} * view.settings.scroll * (delta > 0 ? 1 : -1));
}

void NoteEditor::KeyDown(EditorKey key, KeyModifiers modifiers, bool playing) {
    const bool chart = view.HasChart();
    const int64_t screen = int64_t{view.geometry.laneHeight} * view.Interval();
    switch (key) {
        case EditorKey::Shift:
            if (chart) shiftHeld = true;
            break;
        case EditorKey::PageUp:
            if (chart) view.ScrollBy(screen);
            break;
        case EditorKey::PageDown:
            if (chart) view.ScrollBy(-screen);
            break;
        case EditorKey::Up:
            if (chart) view.ScrollBy(view.settings.scroll);
            break;
        case EditorKey::Down:
            if (chart) view.ScrollBy(-view.settings.scroll);
            break;
        case EditorKey::F2:
            if (!playing) Command(EditorCommand::Options);
            break;
        case EditorKey::F3:
            if (chart) Command(EditorCommand::PlayPause);
            break;
        case EditorKey::F4:
            if (chart) Command(EditorCommand::Stop);
            break;
        case EditorKey::F5:
            if (chart) TogglePlaySelectedTrack();
            break;
        case EditorKey::F6:
            if (chart) TogglePlaySelectedNotes();
            break;
        case EditorKey::Backspace:
            if (modifiers.alt && !playing) Undo();
            break;
        default: break;
    }
    if (!modifiers.ctrl) return;
    switch (key) {
        case EditorKey::M: Command(EditorCommand::OpenMidi); break;
        case EditorKey::V: Command(EditorCommand::OpenChart); break;
        case EditorKey::S: Command(EditorCommand::Save); break;
        case EditorKey::D:
            if (ctrlZUndoes && modifiers.shift)
                DeselectAll();
            else
                Command(EditorCommand::SaveAs);
            break;
        case EditorKey::A:
            if (chart) SelectAll();
            break;
        case EditorKey::Z:
            if (modifiers.shift || ctrlZUndoes) {
                if (playing) break;
                if (modifiers.shift)
                    Redo();
                else
                    Undo();
            } else if (chart) {
                DeselectAll();
            }
            break;
        case EditorKey::Y:
            if (!playing) Redo();
            break;
        default: break;
    }
}

void NoteEditor::KeyUp(EditorKey key) {
    if (key == EditorKey::Shift) shiftHeld = false;
}

template <typename Job>
void NoteEditor::WholeTrackJob(Job job) {
    if (!view.HasChart()) return;
    if (setBusy) setBusy(true);
    job(view.Chart(), view.currentTrack, history.Record());
    CommitStep();
    if (setBusy) setBusy(false);
    view.Invalidate();
}

void NoteEditor::SelectAll() {
    WholeTrackJob([&](CChart& chart, int track, EditStep& step) { step.SelectAll(chart, track, view.CollisionWindow()); });
}

void NoteEditor::DeselectAll() {
    WholeTrackJob([](CChart& chart, int track, EditStep& step) { step.DeselectAll(chart, track); });
}

void NoteEditor::ReplacePlayerNotes(const std::vector<Choice>& notes) {
    if (!view.HasChart()) return;
    if (setBusy) setBusy(true);
    CChart& chart = view.Chart();
    EditStep& step = history.Record();
    for (int t = 0; t < kTrackCount; ++t) step.DeselectAll(chart, t);
    for (const Choice& c : notes) {
        if (c.track < 0 || c.track >= kTrackCount || c.index >= chart.tracks[static_cast<std::size_t>(c.track)].Count())
            continue;
        NoteState state = StateOf(chart.tracks[static_cast<std::size_t>(c.track)].At(c.index));
        if (state.longNote != c.held) {
            state.longNote = c.held;
            step.SetTrackNote(chart, c.track, c.index, state);
        }
        step.Select(chart, c.track, c.index, view.CollisionWindow());
    }
    CommitStep();
    if (setBusy) setBusy(false);
    view.Invalidate();
}

void NoteEditor::SelectAllIfNoneSelected() {
    if (view.HasChart() && view.Chart().selection.Count() == 0) SelectAll();
}

void NoteEditor::TrimTrack(int track, int d) {
    if (!view.HasChart()) return;
    history.Record().TrackJob(view.Chart(), track, [d](CNoteTrack& notes) { TrimLengths(notes, d); });
    CommitStep();
    view.Invalidate();
}

void NoteEditor::SetSongFields(const SongFields& fields) {
    if (!view.HasChart()) return;
    history.Record().SetSongFields(view.Chart(), fields);
    CommitStep();
}

void NoteEditor::Undo() {
    if (!view.HasChart()) return;
    const EditStep* step = history.Undo(view.Chart());
    if (step) ShowPlace(step->Place());
    if (onHistoryChanged) onHistoryChanged(step);
}

void NoteEditor::Redo() {
    if (!view.HasChart()) return;
    const EditStep* step = history.Redo(view.Chart());
    if (step) ShowPlace(step->Place());
    if (onHistoryChanged) onHistoryChanged(step);
}

void NoteEditor::ChartReplaced() {
    history.Clear();
    if (onHistoryChanged) onHistoryChanged(nullptr);
}

// Shows where a step changed the chart: its track's notes when they changed, and, when none of
// its changes can be in sight, its earliest change a quarter of the lanes above their bottom.
void NoteEditor::ShowPlace(const EditPlace& place) {
    if (place.track >= 0 && place.track != view.currentTrack) {
        view.SetCurrentTrack(place.track);
        boxes.CurrentTrackChanged(view.Chart(), place.track);
        if (onBoxesChanged) onBoxesChanged();
    }
    if (place.hasTime && (place.last < view.position || view.Offset(place.first) > view.geometry.TopLimit())) {
        const int64_t below = int64_t{view.geometry.laneHeight} / 4 * view.Interval();
        view.SetPosition(ClampToI32(std::max<int64_t>(0, place.first - below)), true);
    }
    view.Invalidate();
}

void NoteEditor::TogglePlaySelectedTrack() {
    if (!view.HasChart()) return;
    boxes.ToggleSelectedTrack(view.Chart(), view.currentTrack);
    if (onBoxesChanged) onBoxesChanged();
}

void NoteEditor::TogglePlaySelectedNotes() {
    if (!view.HasChart()) return;
    boxes.ToggleSelectedNotes(view.Chart());
    if (onBoxesChanged) onBoxesChanged();
}
