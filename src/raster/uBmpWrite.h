// BMP writing: the plain Windows bitmap of 32 bits per pixel that every
// reader understands (14-byte file header, 40-byte information header, no
// compression, rows bottom-up).
#pragma once

#include <string>

#include "raster/uBitmap.h"

namespace kx {

// The whole file. Each pixel is written as its four bytes blue, green, red
// and the fourth byte as stored; 32-bit rows need no padding.
std::string EncodeBmp32(const TBitmap32& bitmap);

}  // namespace kx
