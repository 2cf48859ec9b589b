// The implementation of stb_image, limited to the bitmap and layered-image decoders and to
// memory input. The layered-image decoder's removal of a white matte converts floats that
// may lie outside 0..255 to bytes; the build exempts this file from the float-conversion
// check of the sanitizer builds, as the conversion only yields a wrong colour for a damaged
// file and never touches memory it should not.

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_PSD
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#endif
#include "StbImage.h"
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
