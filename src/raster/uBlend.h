// Drawing with a constant alpha over a 32-bit bitmap: single pixels, 1-pixel
// lines and antialiased polygons.
//
// A blend mixes the colour's red, green and blue into the pixel:
// channel := nearest((colour * alpha + pixel * (255 - alpha)) / 255); the
// pixel's fourth byte is kept. Everything outside the bitmap is skipped.
#pragma once

#include <cstdint>
#include <span>

#include "raster/uBitmap.h"

namespace kx {

// A point in pixel units; (x, y) is the centre of pixel (x, y).
struct TPointF {
  double X = 0, Y = 0;
};

// Blends pixel (x, y) with colour (its red, green and blue) at alpha.
void BlendPixel(TBitmap32& dst, int32_t x, int32_t y, TPixel colour, uint8_t alpha);

// A 1-pixel line from (x0, y0) towards (x1, y1), without the last pixel, each
// pixel blended once. It steps along the longer axis one pixel at a time; the
// other coordinate at step i of n is the start plus i * d / n rounded to the
// nearest integer, halves away from the start. Only the steps that land
// inside the bitmap are visited, so far-away ends cost nothing.
void BlendLine(TBitmap32& dst, int64_t x0, int64_t y0, int64_t x1, int64_t y1, TPixel colour, uint8_t alpha);

// Fills the convex polygon through the points (at most 8) with antialiased
// edges: each pixel is blended at alpha * coverage / 255, where coverage
// (0..255) is the share of the pixel inside the polygon, measured by pixman
// on its grid of sample points per pixel.
void BlendPolygon(TBitmap32& dst, std::span<const TPointF> points, TPixel colour, uint8_t alpha);

}  // namespace kx
