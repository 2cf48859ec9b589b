#include "DrawScreen.h"

#include <algorithm>

#include "io/FileSystem.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

DrawScreen::DrawScreen(int width, int height)
    : width(std::max(width, 0)),
      height(std::max(height, 0)),
      pixels(static_cast<std::size_t>(this->width) * static_cast<std::size_t>(this->height), 0) {}

void DrawScreen::Clear(Colour colour) {
    std::fill(pixels.begin(), pixels.end(), colour);
}

void DrawScreen::FillRect(const Rect& rect, Colour colour) {
    const int left = std::clamp(rect.left, 0, width), right = std::clamp(rect.right, 0, width);
    const int top = std::clamp(rect.top, 0, height), bottom = std::clamp(rect.bottom, 0, height);
    if (left >= right) return;
    for (int y = top; y < bottom; ++y)
        std::fill(pixels.begin() + static_cast<std::ptrdiff_t>(Index(left, y)),
                  pixels.begin() + static_cast<std::ptrdiff_t>(Index(right, y)), colour);
}

void DrawScreen::Copy(const DrawSurface& surface, Rect src, int x, int y, bool keyed) {
    if (!surface.HasImage()) return;
    src.left = std::max(src.left, 0);
    src.top = std::max(src.top, 0);
    src.right = std::min(src.right, surface.Width());
    src.bottom = std::min(src.bottom, surface.Height());
    const Colour key = surface.ColourKey();
    // Destination coordinates in 64 bits, so a position far outside the screen cannot wrap.
    for (int sy = src.top; sy < src.bottom; ++sy) {
        const int64_t dy = int64_t{y} + sy - src.top;
        if (dy < 0 || dy >= height) continue;
        for (int sx = src.left; sx < src.right; ++sx) {
            const int64_t dx = int64_t{x} + sx - src.left;
            if (dx < 0 || dx >= width) continue;
            const Colour c = surface.At(sx, sy);
            if (!keyed || c != key) pixels[Index(static_cast<int>(dx), static_cast<int>(dy))] = c;
        }
    }
}

void DrawScreen::Blit(const DrawSurface& surface, int x, int y) {
    Copy(surface, surface.SourceRect(), x, y, false);
}

void DrawScreen::BlitKeyed(const DrawSurface& surface, int x, int y) {
    Copy(surface, surface.SourceRect(), x, y, true);
}

void DrawScreen::Blit(const DrawSurface& surface, const Rect& source, int x, int y) {
    Copy(surface, source, x, y, false);
}

void DrawScreen::HLine(int x1, int x2, int y, Colour colour) {
    if (y < 0 || y >= height) return;
    if (x1 > x2) std::swap(x1, x2);
    for (int x = std::max(x1, 0); x <= std::min(x2, width - 1); ++x) pixels[Index(x, y)] = colour;
}

void DrawScreen::VLine(int x, int y1, int y2, Colour colour) {
    if (x < 0 || x >= width) return;
    if (y1 > y2) std::swap(y1, y2);
    for (int y = std::max(y1, 0); y <= std::min(y2, height - 1); ++y) pixels[Index(x, y)] = colour;
}

void DrawScreen::Outline(int left, int top, int right, int bottom, Colour colour) {
    HLine(left, right, top, colour);
    HLine(left, right, bottom, colour);
    VLine(left, top, bottom, colour);
    VLine(right, top, bottom, colour);
}

void DrawScreen::Present() {
    if (presenter) presenter(*this);
}

Status DrawScreen::WritePng(const std::filesystem::path& path) const {
    std::vector<uint8_t> rgb(pixels.size() * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        rgb[i * 3] = static_cast<uint8_t>(pixels[i] >> 16);
        rgb[i * 3 + 1] = static_cast<uint8_t>(pixels[i] >> 8);
        rgb[i * 3 + 2] = static_cast<uint8_t>(pixels[i]);
    }
    std::vector<uint8_t> png;
    auto append = [](void* context, void* data, int size) {
        auto* out = static_cast<std::vector<uint8_t>*>(context);
        out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    };
    if (!stbi_write_png_to_func(append, &png, width, height, 3, rgb.data(), width * 3))
        return Status::Fail(ErrorCode::OutOfMemory, PathText(path));
    return SaveFileAtomically(path, png);
}
