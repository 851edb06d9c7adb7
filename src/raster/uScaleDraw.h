// Drawing a bitmap scaled into a rectangle of a pixel buffer that is not a
// bitmap of ours (a window's own surface): pixman's bilinear filter, or the
// nearest pixel when the scale is a whole number or 1 (which is then a copy).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "raster/uBitmap.h"
#include "raster/uGeometry.h"

namespace kx {

// dst is width x height pixels of the bitmap layout, strideBytes apart; the
// picture lands in to (clipped to the buffer). Nothing for empty sizes.
// With `only`, just the destination pixels inside those rectangles are
// written, each exactly as the whole drawing would write it.
void DrawScaled(const TBitmap32& src, TPixel* dst, int32_t width, int32_t height, size_t strideBytes, const TRect& to,
                const std::vector<TRect>* only = nullptr);

}  // namespace kx
