#include "Selection.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "io/Clamp.h"

namespace {

CNoteTrack* TrackAt(CChart& chart, int track) {
    if (track < 0 || track >= kTrackCount) return nullptr;
    return &chart.tracks[static_cast<std::size_t>(track)];
}

// True when a selection entry of `lane` lies within `window` ticks of `time`. The list is in
// time order, so only entries from time - window to time + window need a look.
bool LaneTaken(const CNoteList& selection, int32_t time, uint16_t lane, int32_t window) {
    for (int i = selection.LowerBound(ClampToI32(int64_t{time} - window)); i < selection.Count(); ++i) {
        const CNote& entry = selection.GetAt(i);
        if (entry.time > int64_t{time} + window) break;
        if (entry.lane == lane && std::llabs(int64_t{entry.time} - time) <= window) return true;
    }
    return false;
}

}  // namespace

bool Select(CChart& chart, int track, uint32_t index, int32_t window) {
    CNoteTrack* notes = TrackAt(chart, track);
    if (!notes || index >= notes->Count()) return false;
    CNote& note = notes->At(index);
    if (note.hidden || LaneTaken(chart.selection, note.time, note.lane, window)) return false;
    note.selected = true;
    chart.selection.AddSorted(SelectionCopy(note));
    chart.selectionChanged = true;
    return true;
}

std::optional<int> FindCopy(const CChart& chart, const CNote& note) {
    const CNoteList& selection = chart.selection;
    for (int i = selection.LowerBound(note.time);
         i < selection.Count() && selection.GetAt(i).time == note.time; ++i) {
        if (selection.GetAt(i).lane == note.lane) return i;
    }
    return std::nullopt;
}

bool Deselect(CChart& chart, int track, uint32_t index) {
    CNoteTrack* notes = TrackAt(chart, track);
    if (!notes || index >= notes->Count()) return false;
    CNote& note = notes->At(index);
    const std::optional<int> entry = FindCopy(chart, note);
    if (!entry) return false;
    chart.selection.RemoveAt(*entry);
    note.selected = false;
    chart.selectionChanged = true;
    return true;
}

void SelectAllInTrack(CChart& chart, int track, int32_t window) {
    if (const CNoteTrack* notes = TrackAt(chart, track))
        ForNotesToSelect(*notes, [&](uint32_t i) { Select(chart, track, i, window); });
}

void DeselectAllInTrack(CChart& chart, int track) {
    if (const CNoteTrack* notes = TrackAt(chart, track))
        ForNotesToDeselect(*notes, [&](uint32_t i) { Deselect(chart, track, i); });
}

void SelectAllIfNoneSelected(CChart& chart, int currentTrack, int32_t window) {
    if (chart.selection.Count() == 0) SelectAllInTrack(chart, currentTrack, window);
}
