// GIF decoding through giflib: the first frame of a GIF as a still picture.
#pragma once

#include <cstdint>
#include <span>

#include "raster/uBitmap.h"

namespace kx {

// The first frame drawn on the GIF's logical screen, which starts in the
// background colour (black without a global colour table); transparent pixels
// of the frame show that background. All pixels are opaque. Throws
// TDecodeError for data that does not decode or holds no frame.
TBitmap32 DecodeGif(std::span<const uint8_t> data);

}  // namespace kx
