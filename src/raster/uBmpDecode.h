// BMP decoding: uncompressed pictures of 1, 4, 8, 16, 24 and 32 bits per
// pixel, stored bottom-up or top-down, with any of the usual info headers.
#pragma once

#include <cstdint>
#include <span>

#include "raster/uBitmap.h"

namespace kx {

// Palette, 24-bit and plain 32-bit pictures are opaque; 16- and 32-bit
// pictures with bit-field masks take their alpha from an alpha mask when the
// header gives one. Run-length encoded BMPs are refused. Throws TDecodeError
// for data that does not decode.
TBitmap32 DecodeBmp(std::span<const uint8_t> data);

}  // namespace kx
