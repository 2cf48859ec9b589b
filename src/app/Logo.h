#pragma once
// The program's logo ("common/RYXLOGO.BMP" in the data folder), read through the drawing
// layer's image reader; a null pixmap when it cannot be read.

#include <QPixmap>
#include <filesystem>

QPixmap LoadLogo(const std::filesystem::path& dataDir);
