// Which parts of the screen a new frame changes: a few rectangles that hold
// every changed pixel, so that a display uploads those and not the whole
// frame. Water changes the rows of its areas, a clock its own box, a still
// picture nothing at all; a transition usually changes everything, and then
// the comparison ends at the first and last pixel of each row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "raster/uBitmap.h"
#include "raster/uGeometry.h"

namespace kx {

// The rectangles of `shown` (in its coordinates) whose pixels differ from
// `frame` drawn at (x, y), clipped to `shown`. Rows that change run into one
// rectangle per run of rows; when there are more than maxRects of them, the
// neighbours that add the least area are joined. Empty when nothing changes.
std::vector<TRect> ChangedRects(const TBitmap32& shown, const TBitmap32& frame, int32_t x, int32_t y,
                                size_t maxRects = 16);

// Copies the pixels of `frame` at (x, y) that lie in `rects` into `shown`.
void CopyRects(TBitmap32& shown, const TBitmap32& frame, int32_t x, int32_t y, const std::vector<TRect>& rects);

// The rectangle of a destination `to` that a picture of srcWidth x srcHeight
// stretched over `to` (as DrawScaled does, bilinear or nearest) changes when
// the picture's pixels in `changed` change: the filter's reach and the
// rounding of the scale included, clipped to `to`.
TRect ScaledCover(const TRect& changed, int32_t srcWidth, int32_t srcHeight, const TRect& to);

}  // namespace kx
