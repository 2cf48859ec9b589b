#pragma once
// CNoteTrack: one track of the chart, its notes in ascending `time` order.

#include <cstdint>
#include <span>
#include <vector>

#include "Note.h"

// General MIDI program value that marks a drum track.
inline constexpr int32_t kDrumInstrument = INT32_MIN;  // 0x80000000

class CNoteTrack {
  public:
    // `capacity` 0 means the default of 10 notes.
    explicit CNoteTrack(uint32_t capacity = 0);

    // Note `index`, or an all-zero note when index >= Count(). The all-zero note is made anew
    // for every such call, so a write through it is never seen by a later read.
    CNote& At(uint32_t index);
    const CNote& At(uint32_t index) const;

    // Appends a copy of `note` (sharing its data handle).
    void Append(const CNote& note);
    void Append(CNote&& note);

    // Replaces the notes with `notes` (ordered by time), taking over their storage rather
    // than copying them; Capacity() becomes what appending them one by one would give.
    void AdoptNotes(std::vector<CNote>&& notes);

    // Drops every note; capacity becomes `capacity` (0 means 10); muted cleared.
    void Reset(uint32_t capacity = 0);

    // The index of the first note whose time >= t (Count() when none): where playing from t
    // begins. A plain scan, so a track read from a file that is not in order still stops at
    // the first note at or after t.
    uint32_t FirstAtOrAfter(int32_t t) const;

    // Makes room for `total` notes in the storage underneath without changing Capacity(), so
    // a reader that knows the count appends without reallocating.
    void ReserveStorage(uint32_t total) { notes.reserve(total); }

    uint32_t Count() const { return static_cast<uint32_t>(notes.size()); }

    // Allocated note slots as the chart counts them: starts at the construction or reset
    // value and grows by exactly 10 each time an append finds the track full. The storage
    // underneath grows geometrically, so filling a large track stays linear.
    uint32_t Capacity() const { return capacity; }

    std::span<CNote> Notes() { return notes; }
    std::span<const CNote> Notes() const { return notes; }

    static constexpr uint32_t kGrowBy = 10;

    int32_t instrument = 0;  // GM program 0..127, kDrumInstrument, or 0 when unassigned
    bool muted = false;      // playback skips this track

  private:
    std::vector<CNote> notes;
    uint32_t capacity = kGrowBy;
    CNote scratchNote;  // what At() hands out past the end
};
