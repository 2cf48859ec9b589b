// Fuzz target: random drawing primitives with random coordinates on small screens; every
// primitive must stay inside the buffer (the sanitizer build catches any write outside it).

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "editor/DrawScreen.h"

namespace {

class Input {
  public:
    Input(const uint8_t* data, size_t size) : data(data), size(size) {}
    bool Empty() const { return at >= size; }
    uint8_t Byte() { return at < size ? data[at++] : 0; }
    int Int() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | Byte();
        return static_cast<int>(v);
    }

  private:
    const uint8_t* data;
    size_t size;
    size_t at = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    DrawScreen screen(in.Byte() % 40, in.Byte() % 40);
    DrawSurface surface;
    const int w = in.Byte() % 16 + 1, h = in.Byte() % 16 + 1;
    surface.CreateFromPixels(w, h, std::vector<Colour>(static_cast<std::size_t>(w * h), 0x123456));
    surface.SetColourKey(0x123456);
    while (!in.Empty()) {
        const uint8_t op = in.Byte() % 6;
        const Rect rect{in.Int(), in.Int(), in.Int(), in.Int()};
        const int x = in.Int(), y = in.Int();
        switch (op) {
            case 0: screen.FillRect(rect, 1); break;
            case 1:
                surface.SetSourceRect(rect);
                screen.Blit(surface, x, y);
                break;
            case 2:
                surface.SetSourceRect(rect);
                screen.BlitKeyed(surface, x, y);
                break;
            case 3: screen.Blit(surface, rect, x, y); break;
            case 4:
                screen.HLine(rect.left, rect.right, y, 2);
                screen.VLine(x, rect.top, rect.bottom, 2);
                break;
            default: screen.Outline(rect.left, rect.top, rect.right, rect.bottom, 3); break;
        }
    }
    return 0;
}
