// Fuzz target: the view's image reader (bitmaps and layered images) over any bytes.

#include <cstdint>
#include <span>

#include "editor/DrawSurface.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DrawSurface surface;
    surface.CreateFromBytes(std::span<const uint8_t>(data, size));
    return 0;
}
