// Turns and mirrors a bitmap by one of the eight Exif orientations
// (raster/uExifOrientation.h), so that a picture stored turned shows upright.
#pragma once

#include "raster/uBitmap.h"

namespace kx {

// The upright picture of source stored with orientation 1..8: values 5 to 8
// swap width and height. Any other value gives source unchanged.
TBitmap32 Orient(TBitmap32 source, int orientation);

}  // namespace kx
