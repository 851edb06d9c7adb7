// Regions: sets of pixels made of rectangles, for clipping. The rectangle
// algebra is pixman's; the curved and slanted shapes are scan-converted here
// into one-row spans and handed to pixman in a single call.
//
// Polygons cover a pixel when its corner (x, y) lies inside the outline; a
// corner exactly on the outline is inside on a left or top edge and outside on
// a right or bottom one, so a rectangle's outline covers just the pixels of
// that rectangle. Round rectangles and ellipses cover a pixel when its centre
// (x + 0.5, y + 0.5) lies inside, and lie within their rectangle less its
// right column and bottom row. Scan conversion is limited to
// coordinates within a generous margin around the largest bitmap, so an absurd
// outline costs no more than a big one.
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
// A rounded rectangle within the box [left, right - 1) x [top, bottom - 1)
// (swapped corners are put in order first): the box with each corner cut by a
// quarter of an ellipse. The corner ew x eh asked for is limited to the box's
// width and height; a corner of 2 or less in either direction gives the plain
// box. Otherwise the arcs are those of an ellipse of full width ew + 1 and
// full height eh + 1, again limited to the box, each centred half its width
// and height inside its corner, and a pixel is covered when its centre lies
// within them (for the rows between the arcs, the box's full width).
TRegion RoundRectRegion(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t ew, int32_t eh);
// The round rectangle whose corner is the whole rectangle: the ellipse
// inscribed in [left, right - 1) x [top, bottom - 1) (corners put in order
// first), or that box itself when it is 2 pixels wide or high or less.
TRegion EllipseRegion(int32_t left, int32_t top, int32_t right, int32_t bottom);
// The polygon through the points, closed back to the first, filled by the
// winding rule: every pixel corner the outline winds around is inside,
// whatever the direction of its edges (corners on the outline as above).
// Fewer than three points give an empty region.
TRegion PolygonRegion(std::span<const TPoint> points);

enum class TCombineMode : int32_t { And = 1, Or = 2, Xor = 3 };
// target := a AND b, a OR b or a XOR b. target may be a or b.
void CombineRegions(TRegion& target, const TRegion& a, const TRegion& b, TCombineMode mode);

}  // namespace kx
