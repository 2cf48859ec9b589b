#pragma once
// Plain rectangles and 32-bit pixels (0x00RRGGBB) shared by the drawing layer and the view.

#include <cstdint>

using Colour = uint32_t;  // 0x00RRGGBB

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom are outside the rectangle

    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};
