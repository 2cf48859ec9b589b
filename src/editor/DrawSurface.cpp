#include "DrawSurface.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "StbImage.h"
#include "smf/FileBytes.h"

namespace {
constexpr int64_t kMaxPixels = 4096 * 4096;
constexpr int64_t kMaxPixelsPerByte = 128;  // run-length packed images stay below this
}  // namespace

std::optional<std::string> DrawSurface::CreateFromFile(const std::filesystem::path& path) {
    Release();
    std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path);
    if (!bytes) return "Cann't Find File";
    return CreateFromBytes(*bytes);
}

std::optional<std::string> DrawSurface::CreateFromBytes(std::span<const uint8_t> bytes) {
    Release();
    if (bytes.size() < 14) return "Cann't Open Header";
    const bool layered = std::memcmp(bytes.data(), "8BPS", 4) == 0;
    if (!layered && std::memcmp(bytes.data(), "BM", 2) != 0) return "Not BMP Format";
    if (bytes.size() > static_cast<std::size_t>(INT32_MAX)) return "Not Enough Bitmap Memory";

    int w = 0, h = 0, channels = 0;
    // A header claiming more pixels than the view could use, or than the file's bytes could
    // describe even packed, is refused before anything is allocated for the image.
    if (!stbi_info_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels))
        return "Cann't Load File";
    // The information call reports a top-down bitmap's height as negative; its size is the same.
    const int64_t claimed = std::llabs(int64_t{w}) * std::llabs(int64_t{h});
    if (claimed > kMaxPixels) return "Not Enough Bitmap Memory";
    if (claimed > static_cast<int64_t>(bytes.size()) * kMaxPixelsPerByte) return "Cann't Load File";
    stbi_uc* rgba = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels, 4);
    if (!rgba) return "Cann't Load File";
    try {
        std::vector<Colour> image(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
        for (std::size_t i = 0; i < image.size(); ++i) {
            const stbi_uc* p = rgba + i * 4;
            image[i] = static_cast<Colour>(p[0]) << 16 | static_cast<Colour>(p[1]) << 8 | p[2];
        }
        stbi_image_free(rgba);
        CreateFromPixels(w, h, std::move(image));
    } catch (const std::bad_alloc&) {
        stbi_image_free(rgba);
        return "Not Enough Bitmap Memory";
    }
    return std::nullopt;
}

void DrawSurface::CreateFromPixels(int w, int h, std::vector<Colour> image) {
    width = w;
    height = h;
    pixels = std::move(image);
    source = {0, 0, w, h};
}

void DrawSurface::Release() {
    pixels.clear();
    pixels.shrink_to_fit();
    width = height = 0;
    source = {};
}
