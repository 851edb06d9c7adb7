// Value types for geometry: points and rectangles in pixel coordinates.
#pragma once

#include <algorithm>
#include <cstdint>

namespace kx {

struct TPoint {
  int32_t X = 0, Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// A rectangle from (Left, Top) inclusive to (Right, Bottom) exclusive.
struct TRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;

  static constexpr TRect FromSize(int32_t x, int32_t y, int32_t w, int32_t h) { return {x, y, x + w, y + h}; }
  constexpr int32_t Width() const { return Right - Left; }
  constexpr int32_t Height() const { return Bottom - Top; }
  constexpr bool Empty() const { return Right <= Left || Bottom <= Top; }
  constexpr bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  constexpr TRect Offset(int32_t dx, int32_t dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
  // The common part; an empty result is normalised to all zeros.
  constexpr TRect Intersect(const TRect& o) const {
    const TRect r{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right), std::min(Bottom, o.Bottom)};
    return r.Empty() ? TRect{} : r;
  }
  // The smallest rectangle holding both; an empty one adds nothing.
  constexpr TRect Union(const TRect& o) const {
    if (o.Empty()) return *this;
    if (Empty()) return o;
    return {std::min(Left, o.Left), std::min(Top, o.Top), std::max(Right, o.Right), std::max(Bottom, o.Bottom)};
  }
  constexpr int64_t Area() const { return Empty() ? 0 : int64_t(Width()) * Height(); }
  friend bool operator==(const TRect&, const TRect&) = default;
};

}  // namespace kx
