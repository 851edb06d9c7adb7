// Resampling a whole bitmap into another of a different size with a
// three-lobe Lanczos filter: separable, one fixed-point pass per axis, with
// the weights of every row and column computed once per call.
#pragma once

#include <cstdint>

#include "raster/uBitmap.h"

namespace kx {

// Fills dst (whose size the caller has set) with src scaled to that size, all
// four channels alike. Edges repeat the outermost pixels. An empty source or
// destination leaves dst untouched.
void ResampleLanczos3(const TBitmap32& src, TBitmap32& dst);

// src scaled to width x height with bilinear interpolation of all four bytes;
// edges repeat the outermost pixels. An empty source or size gives an empty bitmap.
TBitmap32 ResizeBilinear(const TBitmap32& src, int32_t width, int32_t height);

}  // namespace kx
