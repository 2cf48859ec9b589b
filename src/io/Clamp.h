#pragma once
// Saturating conversions for times and counts that the file formats keep in 32 bits: a value
// out of range becomes the nearest one the field can hold rather than wrapping.

#include <algorithm>
#include <cstdint>
#include <limits>

inline uint32_t ClampToU32(uint64_t value) {
    return static_cast<uint32_t>(std::min<uint64_t>(value, std::numeric_limits<uint32_t>::max()));
}

inline int32_t ClampToI32(int64_t value) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// `a + b` for tick arithmetic, held at the ends of int64_t instead of overflowing.
inline int64_t SaturatingAdd(int64_t a, int64_t b) {
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max(), kMin = std::numeric_limits<int64_t>::min();
    if (b > 0 && a > kMax - b) return kMax;
    if (b < 0 && a < kMin - b) return kMin;
    return a + b;
}

// A whole number of ticks held as a double, held at the ends of int64_t.
inline int64_t SaturatingTicks(double ticks) {
    constexpr double kLimit = 9.2e18;  // just inside int64_t's range
    if (!(ticks < kLimit)) return ticks != ticks ? 0 : std::numeric_limits<int64_t>::max();
    if (ticks <= -kLimit) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(ticks);
}
