#include "Logo.h"

#include <QImage>

#include "editor/DrawSurface.h"

QPixmap LoadLogo(const std::filesystem::path& dataDir) {
    DrawSurface surface;
    if (!surface.CreateFromFile(dataDir / "common" / "RYXLOGO.BMP")) return {};
    QImage image(surface.Width(), surface.Height(), QImage::Format_RGB32);
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x) image.setPixel(x, y, surface.At(x, y));
    return QPixmap::fromImage(image);
}
