#pragma once
// The image decoders of stb_image the drawing layer uses (bitmaps and layered images only);
// the implementation is compiled once, in StbImage.cpp.

#include <stb/stb_image.h>
