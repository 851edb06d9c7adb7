// Resampling a whole bitmap into another of a different size with a
// three-lobe Lanczos filter: separable, one fixed-point pass per axis, with
// the weights of every row and column computed once per call.
#pragma once

#include "raster/uBitmap.h"

namespace kx {

// Fills dst (whose size the caller has set) with src scaled to that size, all
// four channels alike. Edges repeat the outermost pixels. An empty source or
// destination leaves dst untouched.
void ResampleLanczos3(const TBitmap32& src, TBitmap32& dst);

}  // namespace kx
