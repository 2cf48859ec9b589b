#include "Lanes.h"

#include <array>

uint16_t LaneFromKey(uint8_t key) {
    //                                       C  C# D  D# E  F  F# G  G# A  A# B
    static constexpr std::array<uint16_t, 12> kLanes = {0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6};
    return kLanes[key % 12];
}
