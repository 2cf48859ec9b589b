#pragma once
// CNoteList: a list of notes kept sorted by `time`; the selection list is one.

#include <cstdint>
#include <span>
#include <vector>

#include "Note.h"

class CNoteList {
  public:
    // Inserts `note` before the first note whose time >= note.time (so before notes of the
    // same time) and returns its index.
    int AddSorted(const CNote& note);
    int Add(const CNote& note) { return AddSorted(note); }

    // Index of the note at LowerBound(note.time) when it is SameNote as `note`, else -1.
    int Find(const CNote& note) const;

    // First index whose note has time >= t; Count() when there is none.
    int LowerBound(int32_t t) const;

    // Sorts by ascending time: median-of-three quicksort, insertion sort for ranges shorter
    // than `sortThreshold`. The order of notes of equal time is not defined.
    void Sort();

    void InsertAt(int index, const CNote& note);
    void RemoveAt(int index);
    void RemoveAll();
    CNote& GetAt(int index) { return items[static_cast<std::size_t>(index)]; }
    const CNote& GetAt(int index) const { return items[static_cast<std::size_t>(index)]; }
    int GetSize() const { return static_cast<int>(items.size()); }
    int Count() const { return GetSize(); }

    // Allocated slots. When an insert needs more, the list grows to the larger of the needed
    // size and capacity + step, step being growBy, or count/8 clamped to 4..1024 when 0.
    uint32_t Capacity() const { return capacity; }

    std::span<const CNote> Notes() const { return items; }

    // Makes room for `total` notes in the storage underneath without changing Capacity().
    void ReserveStorage(std::size_t total);

    int growBy = 0;
    int sortThreshold = 64;

  private:
    void Reserve(std::size_t needed);
    void SortRange(int lo, int hi);
    void InsertionSort(int lo, int hi);

    std::vector<CNote> items;
    uint32_t capacity = 0;
};
