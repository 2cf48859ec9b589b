#include "NoteList.h"

#include <algorithm>
#include <utility>

int CNoteList::AddSorted(const CNote& note) {
    int index = LowerBound(note.time);
    InsertAt(index, note);
    return index;
}

int CNoteList::Find(const CNote& note) const {
    int index = LowerBound(note.time);
    if (index < GetSize() && SameNote(items[static_cast<std::size_t>(index)], note)) return index;
    return -1;
}

int CNoteList::LowerBound(int32_t t) const {
    int lo = 0;
    int hi = GetSize();
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        if (items[static_cast<std::size_t>(mid)].time < t)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void CNoteList::Reserve(std::size_t needed) {
    if (needed <= capacity) return;
    std::size_t step = static_cast<std::size_t>(growBy);
    if (growBy <= 0) step = std::clamp<std::size_t>(items.size() / 8, 4, 1024);
    // The storage underneath grows geometrically on its own; only the counted capacity
    // follows the list's growth rule.
    capacity = static_cast<uint32_t>(std::max(needed, capacity + step));
}

void CNoteList::InsertAt(int index, const CNote& note) {
    index = std::clamp(index, 0, GetSize());
    Reserve(items.size() + 1);
    items.insert(items.begin() + index, note);
}

void CNoteList::RemoveAt(int index) {
    if (index < 0 || index >= GetSize()) return;
    items.erase(items.begin() + index);
}

void CNoteList::RemoveAll() {
    items.clear();
}

void CNoteList::ReserveStorage(std::size_t total) {
    items.reserve(total);
}

void CNoteList::Sort() {
    if (GetSize() > 1) SortRange(0, GetSize() - 1);
}

void CNoteList::InsertionSort(int lo, int hi) {
    for (int i = lo + 1; i <= hi; ++i) {
        CNote moving = std::move(items[static_cast<std::size_t>(i)]);
        int j = i - 1;
        while (j >= lo && items[static_cast<std::size_t>(j)].time > moving.time) {
            items[static_cast<std::size_t>(j + 1)] = std::move(items[static_cast<std::size_t>(j)]);
            --j;
        }
        items[static_cast<std::size_t>(j + 1)] = std::move(moving);
    }
}

void CNoteList::SortRange(int lo, int hi) {
    // Recurse into the smaller part and loop on the larger so the stack stays logarithmic.
    while (hi > lo && hi - lo >= sortThreshold) {
        auto timeAt = [this](int i) { return items[static_cast<std::size_t>(i)].time; };
        int32_t a = timeAt(lo), b = timeAt(lo + (hi - lo) / 2), c = timeAt(hi);
        int32_t pivot = std::max(std::min(a, b), std::min(std::max(a, b), c));
        int i = lo;
        int j = hi;
        while (i <= j) {
            while (timeAt(i) < pivot) ++i;
            while (timeAt(j) > pivot) --j;
            if (i <= j) {
                std::swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        }
        if (j - lo < hi - i) {
            SortRange(lo, j);
            lo = i;
        } else {
            SortRange(i, hi);
            hi = j;
        }
    }
    if (hi > lo) InsertionSort(lo, hi);
}
