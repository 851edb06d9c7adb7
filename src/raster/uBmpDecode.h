// BMP decoding: uncompressed pictures of 1, 4, 8, 16, 24 and 32 bits per
// pixel and run-length encoded ones of 8 and 4 bits, stored bottom-up or
// top-down, with any of the usual info headers.
#pragma once

#include <cstdint>
#include <span>

#include "raster/uBitmap.h"

namespace kx {

// Palette, 24-bit and plain 32-bit pictures are opaque; 16- and 32-bit
// pictures with bit-field masks take their alpha from an alpha mask when the
// header gives one. In run-length encoded pictures the pixels the data never
// reaches stay opaque black and run pixels past the right edge are dropped; a
// move out of the picture, a run after its last row, or the end of the data
// ends the decoding with what was drawn so far. Throws TDecodeError for data
// that does not decode.
TBitmap32 DecodeBmp(std::span<const uint8_t> data);

}  // namespace kx
