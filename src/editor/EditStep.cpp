#include "EditStep.h"

#include <algorithm>

#include "chart/Selection.h"

namespace {

void Apply(CNote& note, const NoteState& state) {
    note.length = state.length;
    note.lane = state.lane;
    note.selected = state.selected;
    note.longNote = state.longNote;
}

void ApplySongFields(CSongInfo& info, const SongFields& fields) {
    info.title = fields.title;
    info.composer = fields.composer;
    info.author = fields.author;
    info.extGenre = fields.extGenre;
    info.level = fields.level;
    info.genre = fields.genre;
}

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
// Spelled out for compilers that do not yet deduce aggregate bases (clang 14).
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

}  // namespace

NoteState StateOf(const CNote& note) {
    return {note.length, note.lane, note.selected, note.longNote};
}

SongFields SongFieldsOf(const CSongInfo& info) {
    return {info.title, info.composer, info.author, info.extGenre, info.level, info.genre};
}

void EditStep::MarkPlace(int track, int32_t time) {
    if (track >= 0 && place.track < 0) place.track = track;
    place.first = place.hasTime ? std::min(place.first, time) : time;
    place.last = place.hasTime ? std::max(place.last, time) : time;
    place.hasTime = true;
}

bool EditStep::Select(CChart& chart, int track, uint32_t index, int32_t window) {
    if (track < 0 || track >= kTrackCount) return false;
    CNote& note = chart.tracks[static_cast<std::size_t>(track)].At(index);
    const NoteState before = StateOf(note);
    if (!::Select(chart, track, index, window)) return false;
    // The selection list inserts a new entry before the entries of the same time.
    const int entry = chart.selection.LowerBound(note.time);
    changes.emplace_back(SelectionToggle{static_cast<uint16_t>(track), index, entry, -1, before, StateOf(note)});
    MarkPlace(track, note.time);
    return true;
}

bool EditStep::Deselect(CChart& chart, int track, uint32_t index) {
    if (track < 0 || track >= kTrackCount) return false;
    CNote& note = chart.tracks[static_cast<std::size_t>(track)].At(index);
    const std::optional<int> entry = FindCopy(chart, note);
    if (!entry) return false;
    const NoteState before = StateOf(note);
    removedEntries.push_back(chart.selection.GetAt(*entry));
    if (!::Deselect(chart, track, index)) {
        removedEntries.pop_back();
        return false;
    }
    changes.emplace_back(SelectionToggle{static_cast<uint16_t>(track), index, *entry,
                                         static_cast<int32_t>(removedEntries.size() - 1), before, StateOf(note)});
    MarkPlace(track, note.time);
    return true;
}

void EditStep::SelectAll(CChart& chart, int track, int32_t window) {
    if (track < 0 || track >= kTrackCount) return;
    const CNoteTrack& notes = chart.tracks[static_cast<std::size_t>(track)];
    std::size_t candidates = 0;
    ForNotesToSelect(notes, [&](uint32_t) { ++candidates; });
    // Room for every entry and record at once: growing both lists in turns would move the
    // selection list to fresh memory again and again.
    chart.selection.ReserveStorage(static_cast<std::size_t>(chart.selection.Count()) + candidates);
    changes.reserve(changes.size() + candidates);
    ForNotesToSelect(notes, [&](uint32_t i) { Select(chart, track, i, window); });
}

void EditStep::DeselectAll(CChart& chart, int track) {
    if (track < 0 || track >= kTrackCount) return;
    ForNotesToDeselect(chart.tracks[static_cast<std::size_t>(track)], [&](uint32_t i) { Deselect(chart, track, i); });
}

void EditStep::SetTrackNote(CChart& chart, int track, uint32_t index, const NoteState& after) {
    if (track < 0 || track >= kTrackCount || index >= chart.tracks[static_cast<std::size_t>(track)].Count())
        return;
    CNote& note = chart.tracks[static_cast<std::size_t>(track)].At(index);
    const NoteState before = StateOf(note);
    if (before == after) return;
    Apply(note, after);
    changes.emplace_back(TrackNoteChange{static_cast<uint16_t>(track), index, before, after});
    MarkPlace(track, note.time);
}

void EditStep::SetEntry(CChart& chart, int index, const NoteState& after) {
    if (index < 0 || index >= chart.selection.Count()) return;
    CNote& entry = chart.selection.GetAt(index);
    const NoteState before = StateOf(entry);
    chart.selectionChanged = true;
    if (before == after) return;
    Apply(entry, after);
    changes.emplace_back(EntryChange{index, before, after});
    MarkPlace(-1, entry.time);
}

void EditStep::SetSongFields(CChart& chart, const SongFields& after) {
    const SongFields before = SongFieldsOf(chart.songInfo);
    if (before == after) return;
    ApplySongFields(chart.songInfo, after);
    // Several changes in one step keep the first state before them.
    if (songFields)
        songFields->after = after;
    else
        songFields = SongFieldsChange{before, after};
}

std::vector<NoteState> EditStep::TrackStates(const CChart& chart, int track) const {
    std::vector<NoteState> states;
    const auto notes = chart.tracks[static_cast<std::size_t>(track)].Notes();
    states.reserve(notes.size());
    for (const CNote& note : notes) states.push_back(StateOf(note));
    return states;
}

void EditStep::RecordTrackDifferences(const CChart& chart, int track, const std::vector<NoteState>& before) {
    const auto notes = chart.tracks[static_cast<std::size_t>(track)].Notes();
    for (uint32_t i = 0; i < notes.size() && i < before.size(); ++i) {
        const NoteState after = StateOf(notes[i]);
        if (after == before[i]) continue;
        changes.emplace_back(TrackNoteChange{static_cast<uint16_t>(track), i, before[i], after});
        MarkPlace(track, notes[i].time);
    }
}

// A step that changed the selection list leaves it marked as changed after undo and redo too:
// playback may have rebuilt the player track from the list in between, so only the list says
// what the player's notes are.
void EditStep::Play(CChart& chart, const Change& change, bool undo) const {
    std::visit(Overloaded{
                   [&](const TrackNoteChange& c) {
                       Apply(chart.tracks[c.track].At(c.index), undo ? c.before : c.after);
                   },
                   [&](const EntryChange& c) {
                       Apply(chart.selection.GetAt(c.index), undo ? c.before : c.after);
                       chart.selectionChanged = true;
                   },
                   [&](const SelectionToggle& c) {
                       CNote& note = chart.tracks[c.track].At(c.index);
                       Apply(note, undo ? c.before : c.after);
                       // Undoing a deselection and redoing a selection both put the entry back.
                       const bool selected = c.removed < 0;
                       if (selected == undo)
                           chart.selection.RemoveAt(c.entry);
                       else
                           chart.selection.InsertAt(c.entry, selected ? SelectionCopy(note)
                                                                      : removedEntries[static_cast<std::size_t>(c.removed)]);
                       chart.selectionChanged = true;
                   },
               },
               change);
}

void EditStep::Undo(CChart& chart) const {
    for (auto it = changes.rbegin(); it != changes.rend(); ++it) Play(chart, *it, true);
    if (songFields) ApplySongFields(chart.songInfo, songFields->before);
}

void EditStep::Redo(CChart& chart) const {
    for (const Change& change : changes) Play(chart, change, false);
    if (songFields) ApplySongFields(chart.songInfo, songFields->after);
}
