// Regions: sets of pixels made of rectangles, for clipping. The rectangle
// algebra is pixman's; the curved and slanted shapes are scan-converted here
// into one-row spans and handed to pixman in a single call.
//
// Shapes cover a pixel when its centre (x + 0.5, y + 0.5) lies inside the
// outline. Scan conversion is limited to coordinates within a generous margin
// around the largest bitmap, so an absurd outline costs no more than a big one.
#pragma once

#include <pixman.h>

#include <cstdint>
#include <span>

#include "raster/uGeometry.h"

namespace kx {

class TRegion {
 public:
  TRegion();  // empty
  explicit TRegion(const TRect& r);  // the rectangle as given; an empty one gives an empty region
  TRegion(const TRegion& o);
  TRegion(TRegion&& o) noexcept;
  TRegion& operator=(const TRegion& o);
  TRegion& operator=(TRegion&& o) noexcept;
  ~TRegion();

  // The union of the rectangles with positive width and height, made by one
  // pixman call over the whole list.
  static TRegion FromRects(std::span<const TRect> rects);

  bool Empty() const;
  TRect Bounds() const;  // all zeros when empty
  bool Contains(int32_t x, int32_t y) const;
  // The region as disjoint rectangles in y-x bands.
  std::span<const TRect> Rects() const;
  int64_t Area() const;

  pixman_region32_t* Handle() { return &m_region; }
  const pixman_region32_t* Handle() const { return &m_region; }

  friend bool operator==(const TRegion& a, const TRegion& b);

 private:
  pixman_region32_t m_region;
};

// The rectangle between two corners, put in order first.
TRegion RectRegion(int32_t left, int32_t top, int32_t right, int32_t bottom);
// The rectangle with each corner cut by a quarter of an ellipse of full width
// ew and full height eh. Swapped corners are put in order first; ew and eh are
// limited to the rectangle's own width and height. ew or eh of 0 or less gives
// square corners.
TRegion RoundRectRegion(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t ew, int32_t eh);
// The ellipse inscribed in the rectangle (corners put in order first).
TRegion EllipseRegion(int32_t left, int32_t top, int32_t right, int32_t bottom);
// The polygon through the points, closed back to the first, filled by the
// winding rule: every point the outline winds around is inside, whatever the
// direction of its edges. Fewer than three points give an empty region.
TRegion PolygonRegion(std::span<const TPoint> points);

enum class TCombineMode : int32_t { And = 1, Or = 2, Xor = 3 };
// target := a AND b, a OR b or a XOR b. target may be a or b.
void CombineRegions(TRegion& target, const TRegion& a, const TRegion& b, TCombineMode mode);

}  // namespace kx
