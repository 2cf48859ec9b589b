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
