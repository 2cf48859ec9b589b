#pragma once
// DrawSurface: an image the view copies cells from. A file whose first four bytes are "8BPS"
// is read as a layered image (its composite), anything else as a bitmap. A surface whose file
// cannot be read holds no image and its blits draw nothing.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "Pixels.h"
#include "io/Status.h"

class DrawSurface {
  public:
    // Loads the image; on failure (ImageMissing, ImageHeader, ImageNotBmp, ImageTooLarge,
    // ImageDamaged) holds no image.
    Status CreateFromFile(const std::filesystem::path& path);
    // The same for the bytes of a file held in memory.
    Status CreateFromBytes(std::span<const uint8_t> bytes);
    // An image made in memory (tests, generated artwork), `pixels` row by row.
    void CreateFromPixels(int width, int height, std::vector<Colour> pixels);
    void Release();

    // The cell that later blits copy; clipped to the image when drawn.
    void SetSourceRect(const Rect& rect) { source = rect; }
    const Rect& SourceRect() const { return source; }
    // With a colour key, keyed blits leave pixels of this colour out.
    void SetColourKey(Colour key) { colourKey = key; }
    Colour ColourKey() const { return colourKey; }

    bool HasImage() const { return !pixels.empty(); }
    int Width() const { return width; }
    int Height() const { return height; }
    Colour At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }

  private:
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;
    Rect source;
    Colour colourKey = 0;
};
