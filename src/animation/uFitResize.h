// Fitting a picture file's region map to the display: by nearest pixel, so
// that area colours stay exact (the picture itself is resized bilinearly).
#pragma once

#include <cstdint>

#include "raster/uBitmap.h"

namespace kx {

// The region map of a pictureWidth x pictureHeight picture, scaled with the
// picture to width x height: each new pixel takes the map pixel under its
// centre. The map covers the picture from the top left; where it is smaller
// than the picture the rest counts as no area (pixel value 0), and map pixels
// beyond the picture are ignored.
TBitmap32 ResizeRegionMap(const TBitmap32& map, int32_t pictureWidth, int32_t pictureHeight, int32_t width,
                          int32_t height);

}  // namespace kx
