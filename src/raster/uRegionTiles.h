// The union of many copies of one region laid out on a regular grid, built
// row by row into one list of spans and made into a region by one call.
#pragma once

#include <cstdint>

#include "raster/uRegion.h"

namespace kx {

// The union of the shape moved by (i * DX, j * DY) for i = 0 .. NX - 1 and
// j = 0 .. NY - 1 (DX and DY greater than 0): the same pixels as combining
// the NX * NY moved copies one by one, at the cost of one pass over the rows
// of the result. Empty for an empty shape or no copy.
TRegion TiledUnion(const TRegion& shape, int32_t DX, int32_t NX, int32_t DY, int32_t NY);

}  // namespace kx
