// Fitting a picture file's region map to a picture size: by nearest pixel, so
// that area colours stay exact (the picture itself is resized bilinearly).
#pragma once

#include <cstdint>

#include "raster/uBitmap.h"

namespace kx {

// The region map stretched over width x height: each new pixel takes the map
// pixel under its centre, so the map's whole extent covers the whole target
// whatever the map's own size. An empty map or target gives an empty bitmap.
TBitmap32 ResizeRegionMap(const TBitmap32& map, int32_t width, int32_t height);

}  // namespace kx
