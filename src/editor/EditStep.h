#pragma once
// EditStep: one undoable step, the changes of one user gesture. Every edit goes through a
// step's recording functions, which change the chart and remember what they changed as small
// records (a note's lane, flags and length before and after; a selection entry inserted or
// removed at its index; the song information fields). Undo plays the records back in reverse,
// redo in order; both need the chart as the step left it, which the history guarantees.
//
// Tracks never gain or lose notes while a chart is edited (only opening or converting does,
// and that clears the history), so a note is named by its track and index.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "chart/Chart.h"

// What an edit can change on a note of a track or an entry of the selection list.
struct NoteState {
    int32_t length = 0;
    uint16_t lane = 0;
    bool selected = false;
    bool longNote = false;

    friend bool operator==(const NoteState&, const NoteState&) = default;
};

NoteState StateOf(const CNote& note);

// The song information fields an author edits in the palette.
struct SongFields {
    std::string title, composer, author, extGenre;
    int16_t level = 0;
    int16_t genre = 0;

    friend bool operator==(const SongFields&, const SongFields&) = default;
};

SongFields SongFieldsOf(const CSongInfo& info);

// Where a step changed the chart, so undo and redo can show it.
struct EditPlace {
    int track = -1;        // a track whose notes changed; -1 when only the selection list did
    int32_t first = 0;     // the earliest and latest change, chart ticks
    int32_t last = 0;
    bool hasTime = false;  // false for a change of the song information only
};

class EditStep {
  public:
    // Select and Deselect with the rules of the chart's selection; false (and nothing
    // recorded) when refused.
    bool Select(CChart& chart, int track, uint32_t index, int32_t window);
    bool Deselect(CChart& chart, int track, uint32_t index);
    // Select All and Delete All in one track.
    void SelectAll(CChart& chart, int track, int32_t window);
    void DeselectAll(CChart& chart, int track);
    // Gives note `index` of `track` the state `after`; the selection list is left alone.
    void SetTrackNote(CChart& chart, int track, uint32_t index, const NoteState& after);
    // Gives selection entry `index` the state `after` and marks the selection changed.
    void SetEntry(CChart& chart, int index, const NoteState& after);
    // Runs job(track notes) and records every note of `track` whose state it changed.
    template <typename Job>
    void TrackJob(CChart& chart, int track, Job job);
    // Sets the chart's song information fields (never its song path or current track).
    void SetSongFields(CChart& chart, const SongFields& after);

    void Undo(CChart& chart) const;
    void Redo(CChart& chart) const;

    bool Empty() const { return changes.empty() && !songFields; }
    bool ChangesSongFields() const { return songFields.has_value(); }
    const EditPlace& Place() const { return place; }

  private:
    struct TrackNoteChange {
        uint16_t track;
        uint32_t index;
        NoteState before, after;
    };
    struct EntryChange {
        int32_t index;
        NoteState before, after;
    };
    // A note selected (its copy inserted at `entry`) or deselected (its entry, kept in
    // removedEntries[removed], taken out of `entry`).
    struct SelectionToggle {
        uint16_t track;
        uint32_t index;
        int32_t entry;
        int32_t removed;  // -1 for a selected note
        NoteState before, after;
    };
    using Change = std::variant<TrackNoteChange, EntryChange, SelectionToggle>;

    void Play(CChart& chart, const Change& change, bool undo) const;
    // Widens the place of the step to a change at `time` (of `track`, -1 for an entry).
    void MarkPlace(int track, int32_t time);
    std::vector<NoteState> TrackStates(const CChart& chart, int track) const;
    void RecordTrackDifferences(const CChart& chart, int track, const std::vector<NoteState>& before);

    std::vector<Change> changes;
    // Entries taken out by Deselect, as they were: an entry read from a file may differ from
    // its track note in more than the fields of NoteState.
    std::vector<CNote> removedEntries;
    struct SongFieldsChange {
        SongFields before, after;
    };
    std::optional<SongFieldsChange> songFields;
    EditPlace place;
};

template <typename Job>
void EditStep::TrackJob(CChart& chart, int track, Job job) {
    if (track < 0 || track >= kTrackCount) return;
    const std::vector<NoteState> before = TrackStates(chart, track);
    job(chart.tracks[static_cast<std::size_t>(track)]);
    RecordTrackDifferences(chart, track, before);
}
