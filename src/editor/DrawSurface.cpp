#include "DrawSurface.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "StbImage.h"
#include "io/FileBytes.h"
#include "io/PathText.h"

namespace {

constexpr int64_t kMaxPixels = 4096 * 4096;
constexpr int64_t kMaxPixelsPerByte = 128;  // run-length packed images stay below this
// The view's artwork is a few hundred kilobytes; no file this large is one of its images.
constexpr uint64_t kMaxImageFileBytes = 64ull << 20;

struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

Status Fail(ErrorCode code) {
    return Status::Fail(code);
}

}  // namespace

Status DrawSurface::CreateFromFile(const std::filesystem::path& path) {
    Release();
    std::vector<uint8_t> bytes;
    if (Status read = ReadFileBytes(path, bytes, kMaxImageFileBytes); !read) {
        read.code = read.code == ErrorCode::FileTooLarge ? ErrorCode::ImageTooLarge : ErrorCode::ImageMissing;
        read.part.clear();
        return read;
    }
    Status status = CreateFromBytes(bytes);
    if (!status) status.where = PathText(path);
    return status;
}

Status DrawSurface::CreateFromBytes(std::span<const uint8_t> bytes) {
    Release();
    if (bytes.size() < 14) return Fail(ErrorCode::ImageHeader);
    const bool layered = std::memcmp(bytes.data(), "8BPS", 4) == 0;
    if (!layered && std::memcmp(bytes.data(), "BM", 2) != 0) return Fail(ErrorCode::ImageNotBmp);
    if (bytes.size() > static_cast<std::size_t>(INT32_MAX)) return Fail(ErrorCode::ImageTooLarge);

    int w = 0, h = 0, channels = 0;
    // A header claiming more pixels than the view could use, or than the file's bytes could
    // describe even packed, is refused before anything is allocated for the image.
    if (!stbi_info_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels))
        return Fail(ErrorCode::ImageDamaged);
    // The information call reports a top-down bitmap's height as negative; its size is the same.
    const int64_t claimed = std::llabs(int64_t{w}) * std::llabs(int64_t{h});
    if (claimed > kMaxPixels) return Fail(ErrorCode::ImageTooLarge);
    if (claimed > static_cast<int64_t>(bytes.size()) * kMaxPixelsPerByte)
        return Fail(ErrorCode::ImageDamaged);
    const std::unique_ptr<stbi_uc, StbFree> rgba(
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels, 4));
    if (!rgba) return Fail(ErrorCode::ImageDamaged);
    try {
        std::vector<Colour> image(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
        for (std::size_t i = 0; i < image.size(); ++i) {
            const stbi_uc* p = rgba.get() + i * 4;
            image[i] = static_cast<Colour>(p[0]) << 16 | static_cast<Colour>(p[1]) << 8 | p[2];
        }
        CreateFromPixels(w, h, std::move(image));
    } catch (const std::bad_alloc&) {
        return Fail(ErrorCode::ImageTooLarge);
    }
    return {};
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
