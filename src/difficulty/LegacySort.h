#pragma once
// LegacySort: the unstable sort osu! sorts a beatmap's notes with before rating them (the
// depth-limited quicksort, falling back to heapsort, of the .NET runtime it was written on).
// Notes of one time come out in the order this sort leaves them, and a chord's order changes
// the rating a little, so the rating sorts exactly this way. `compare(a, b)` returns <0, 0 or >0.

#include <utility>
#include <vector>

namespace legacy_sort {

template <typename T, typename Compare>
void SwapIfGreater(std::vector<T>& keys, Compare& compare, int a, int b) {
    if (a != b && compare(keys[static_cast<std::size_t>(a)], keys[static_cast<std::size_t>(b)]) > 0)
        std::swap(keys[static_cast<std::size_t>(a)], keys[static_cast<std::size_t>(b)]);
}

template <typename T, typename Compare>
void DownHeap(std::vector<T>& keys, int i, int n, int lo, Compare& compare) {
    auto at = [&](int k) -> T& { return keys[static_cast<std::size_t>(k)]; };
    T d = at(lo + i - 1);
    while (i <= n / 2) {
        int child = 2 * i;
        if (child < n && compare(at(lo + child - 1), at(lo + child)) < 0) ++child;
        if (!(compare(d, at(lo + child - 1)) < 0)) break;
        at(lo + i - 1) = at(lo + child - 1);
        i = child;
    }
    at(lo + i - 1) = d;
}

template <typename T, typename Compare>
void HeapSort(std::vector<T>& keys, int lo, int hi, Compare& compare) {
    const int n = hi - lo + 1;
    for (int i = n / 2; i >= 1; --i) DownHeap(keys, i, n, lo, compare);
    for (int i = n; i > 1; --i) {
        if (lo != lo + i - 1) std::swap(keys[static_cast<std::size_t>(lo)], keys[static_cast<std::size_t>(lo + i - 1)]);
        DownHeap(keys, 1, i - 1, lo, compare);
    }
}

template <typename T, typename Compare>
void DepthLimitedQuickSort(std::vector<T>& keys, int left, int right, Compare& compare, int depthLimit) {
    auto at = [&](int k) -> T& { return keys[static_cast<std::size_t>(k)]; };
    do {
        if (depthLimit == 0) {
            HeapSort(keys, left, right, compare);
            return;
        }
        int i = left;
        int j = right;
        // The low, middle and high values sorted in place first; the middle is the pivot.
        const int middle = i + ((j - i) >> 1);
        SwapIfGreater(keys, compare, i, middle);
        SwapIfGreater(keys, compare, i, j);
        SwapIfGreater(keys, compare, middle, j);
        const T x = at(middle);
        do {
            while (compare(at(i), x) < 0) ++i;
            while (compare(x, at(j)) < 0) --j;
            if (i > j) break;
            if (i < j) std::swap(at(i), at(j));
            ++i;
            --j;
        } while (i <= j);
        --depthLimit;
        if (j - left <= right - i) {
            if (left < j) DepthLimitedQuickSort(keys, left, j, compare, depthLimit);
            left = i;
        } else {
            if (i < right) DepthLimitedQuickSort(keys, i, right, compare, depthLimit);
            right = j;
        }
    } while (left < right);
}

}  // namespace legacy_sort

template <typename T, typename Compare>
void LegacySort(std::vector<T>& keys, Compare compare) {
    constexpr int kDepthThreshold = 32;
    if (keys.empty()) return;
    legacy_sort::DepthLimitedQuickSort(keys, 0, static_cast<int>(keys.size()) - 1, compare, kDepthThreshold);
}
