#pragma once
// DrawScreen: the view's back buffer, 32-bit pixels of the view's size, and the operations
// the view draws with. Present hands the finished frame to whoever shows it (the window, or
// a PNG writer). Everything drawn is clipped to the buffer, whatever the coordinates: empty,
// inverted and far-outside rectangles and lines draw nothing outside it.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "DrawSurface.h"
#include "Pixels.h"

class DrawScreen {
  public:
    DrawScreen(int width, int height);

    void Clear(Colour colour);
    void FillRect(const Rect& rect, Colour colour);
    // Copies the surface's source rectangle with its top-left corner at (x, y).
    void Blit(const DrawSurface& surface, int x, int y);
    // The same, leaving out source pixels of the surface's colour key.
    void BlitKeyed(const DrawSurface& surface, int x, int y);
    // Copies `source` (a cell of the surface) instead of the surface's own source rectangle.
    void Blit(const DrawSurface& surface, const Rect& source, int x, int y);
    void HLine(int x1, int x2, int y, Colour colour);
    void VLine(int x, int y1, int y2, Colour colour);
    // A one-pixel outline through both corners.
    void Outline(int left, int top, int right, int bottom, Colour colour);

    // Hands the finished frame to the presenter, if one is set.
    void Present();
    std::function<void(const DrawScreen&)> presenter;

    int Width() const { return width; }
    int Height() const { return height; }
    Colour At(int x, int y) const { return pixels[Index(x, y)]; }
    const std::vector<Colour>& Pixels() const { return pixels; }

    // Writes the frame as a PNG file, replacing it only once the new one is complete.
    Status WritePng(const std::filesystem::path& path) const;

  private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
    }
    void Copy(const DrawSurface& surface, Rect source, int x, int y, bool keyed);

    int width;
    int height;
    std::vector<Colour> pixels;
};
