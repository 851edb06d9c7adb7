// A fast scaling filter for small pictures such as animated objects: along
// each axis, block averaging when shrinking and linear interpolation when
// enlarging; all four bytes alike. A run of equal pixels stays exactly equal.
#pragma once

#include <cstdint>

#include "raster/uBitmap.h"

namespace kx {

// src scaled to width x height. An empty source or size gives an empty bitmap.
TBitmap32 ScaleFast(const TBitmap32& src, int32_t width, int32_t height);

}  // namespace kx
