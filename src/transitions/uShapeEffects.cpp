#include "transitions/uShapeEffects.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <numbers>

#include "raster/uBlit.h"
#include "transitions/uClipCopy.h"
#include "transitions/uComplexRegion.h"
#include "raster/uMath.h"

namespace kx {
namespace {

TRegion Triangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  return PolygonRegion({x0, y0, x1, y1, x2, y2});
}

TRegion Diamond(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3) {
  return PolygonRegion({x0, y0, x1, y1, x2, y2, x3, y3});
}

// The first region with each further one merged into it in turn.
TRegion Merge(TRegion first, std::initializer_list<TRegion> more, TCombineMode mode) {
  for (const TRegion& next : more) CombineRegions(first, first, next, mode);
  return first;
}

// The angle of one full turn over the transition, clockwise on the screen.
long double TurnAngle(int32_t P) { return P * std::numbers::pi_v<long double> / 50; }

int32_t Nearest(long double v) {
  const long double r = std::nearbyint(v);  // ties to even in the default rounding mode
  return int32_t(std::clamp<long double>(r, INT32_MIN, INT32_MAX));
}

// The rectangle of half the extents about the centre, corners clockwise from
// the top left.
std::array<TPoint, 4> CentreRectangle(int32_t W, int32_t H, int32_t X, int32_t Y) {
  const int32_t cx = W / 2, cy = H / 2, hx = X / 2, hy = Y / 2;
  return {TPoint{cx - hx, cy - hy}, {cx + hx, cy - hy}, {cx + hx, cy + hy}, {cx - hx, cy + hy}};
}

// A band 2m high whose edges zig by +-A about the line at h, with points s
// apart along the band (x along it for a horizontal band); 24 points: one
// edge forward, the other back.
std::array<TPoint, 24> ZigzagBand(int32_t A, int32_t s, int32_t h, int32_t m, bool horizontal) {
  std::array<TPoint, 24> points;
  for (int32_t i = 0; i < 12; ++i) {
    const int32_t zig = i % 2 == 0 ? A : -A;
    const int32_t along = i * s;
    const int32_t before = h - m + zig, after = h + m + zig;
    points[size_t(i)] = horizontal ? TPoint{along, before} : TPoint{before, along};
    points[size_t(23 - i)] = horizontal ? TPoint{along, after} : TPoint{after, along};
  }
  return points;
}

}  // namespace

void RotatePoints(std::span<TPoint> Points, int32_t LastIndex, int32_t CX, int32_t CY, long double Angle) {
  const long double s = std::sin(Angle), c = std::cos(Angle);
  const size_t count = std::min(Points.size(), size_t(std::max(LastIndex + int64_t(1), int64_t(0))));
  for (size_t i = 0; i < count; ++i) {
    const long double dx = static_cast<long double>(Points[i].X) - CX;
    const long double dy = static_cast<long double>(Points[i].Y) - CY;
    // The turned offsets are rounded, then moved back by the centre.
    Points[i] = {CX + Nearest(dx * c - dy * s), CY + Nearest(dx * s + dy * c)};
  }
}

// Triangles growing from a corner, two from opposite corners, four from the centre.

void RevealDiagonalFromTopLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                               int32_t P, TRandom& Rand) {
  CopyThrough(Dest, Src, W, H, Triangle(0, 0, 2 * X, 0, 0, 2 * Y));
}

void RevealDiagonalFromTopRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                int32_t P, TRandom& Rand) {
  CopyThrough(Dest, Src, W, H, Triangle(W, 0, W - 2 * X, 0, W, 2 * Y));
}

void RevealDiagonalFromBottomLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                  int32_t P, TRandom& Rand) {
  CopyThrough(Dest, Src, W, H, Triangle(0, H, 2 * X, H, 0, H - 2 * Y));
}

void RevealDiagonalFromBottomRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                   int32_t P, TRandom& Rand) {
  CopyThrough(Dest, Src, W, H, Triangle(W, H, W - 2 * X, H, W, H - 2 * Y));
}

void DiagonalSweepAnticlockwise(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                int32_t P, TRandom& Rand) {
  CopyThrough(Dest, Src, W, H, Merge(Triangle(0, H, 0, 0, X, H), {Triangle(W, H, W, 0, W - X, 0)}, TCombineMode::Or));
}

void DiagonalSweepClockwise(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                            int32_t P, TRandom& Rand) {
  CopyThrough(Dest, Src, W, H, Merge(Triangle(W, 0, 0, 0, W, Y), {Triangle(W, H, 0, H, 0, H - Y)}, TCombineMode::Or));
}

void StarburstClockwiseFromCenter(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                  int32_t P, TRandom& Rand) {
  const int32_t cx = W / 2, cy = H / 2;
  CopyThrough(Dest, Src, W, H,
              Merge(Triangle(cx, cy, 0, 0, X, 0),
                    {Triangle(cx, cy, 0, H, 0, H - Y), Triangle(cx, cy, W, H, W - X, H), Triangle(cx, cy, W, 0, W, Y)},
                    TCombineMode::Or));
}

void StarburstAnticlockwiseFromCenter(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                      int32_t P, TRandom& Rand) {
  const int32_t cx = W / 2, cy = H / 2;
  CopyThrough(Dest, Src, W, H,
              Merge(Triangle(cx, cy, 0, 0, 0, Y),
                    {Triangle(cx, cy, 0, H, X, H), Triangle(cx, cy, W, H, W, H - Y), Triangle(cx, cy, W, 0, W - X, 0)},
                    TCombineMode::Or));
}

// V shapes, bow ties and diagonal crosses.

void RevealVFromLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                     TRandom& Rand) {
  CopyThrough(Dest, Src, W, H, Triangle(0, H / 2 - Y, 2 * X, H / 2, 0, H / 2 + Y));
}

void RevealVFromRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                      TRandom& Rand) {
  CopyThrough(Dest, Src, W, H, Triangle(W, H / 2 - Y, W - 2 * X, H / 2, W, H / 2 + Y));
}

void RevealVFromTop(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                    TRandom& Rand) {
  CopyThrough(Dest, Src, W, H, Triangle(W / 2 - X, 0, W / 2, 2 * Y, W / 2 + X, 0));
}

void RevealVFromBottom(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                       TRandom& Rand) {
  CopyThrough(Dest, Src, W, H, Triangle(W / 2 - X, H, W / 2, H - 2 * Y, W / 2 + X, H));
}

void BowTieHorizontal(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                      TRandom& Rand) {
  CopyThrough(Dest, Src, W, H,
              Merge(Triangle(0, H / 2 - Y, X, H / 2, 0, H / 2 + Y),
                    {Triangle(W, H / 2 - Y, W - X, H / 2, W, H / 2 + Y)}, TCombineMode::Or));
}

void BowTieVertical(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                    TRandom& Rand) {
  CopyThrough(Dest, Src, W, H,
              Merge(Triangle(W / 2 - X, 0, W / 2, 2 * Y, W / 2 + X, 0),
                    {Triangle(W / 2 - X, H, W / 2, H - 2 * Y, W / 2 + X, H)}, TCombineMode::Or));
}

// The band's region. At full height (m = A + side / 2) the band is meant to
// cover the picture across, all along its 11 steps. Its inner points then lie
// at 0 and at 2 (side / 2): on an odd side that is the corner of the last
// column (or row) itself, which lies on the band's far edge and may be left
// out, so the tips of the notches there would keep the old picture. At full
// height the band therefore takes in the picture across its length outright.
// Only notch tips are concerned: without zigs (A = 0, a side below 10 pixels)
// the far edge is straight and leaves out the whole last column or row.
TRegion ZigzagRegion(const std::array<TPoint, 24>& band, bool fullHeight, const TRegion& across) {
  TRegion region = PolygonRegion(std::span<const TPoint>(band));
  if (fullHeight) CombineRegions(region, region, across, TCombineMode::Or);
  return region;
}

void DiagonalCrossIn(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                     TRandom& Rand) {
  const int32_t cx = W / 2, cy = H / 2, hx = X / 2, hy = Y / 2;
  CopyThrough(Dest, Src, W, H,
              Merge(Triangle(0, cy - hy, hx, cy, 0, cy + hy),
                    {Triangle(W, cy - hy, W - hx, cy, W, cy + hy), Triangle(cx - hx, 0, cx, hy, cx + hx, 0),
                     Triangle(cx - hx, H, cx, H - hy, cx + hx, H)},
                    TCombineMode::Or));
}

void DiagonalCrossOut(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                      TRandom& Rand) {
  const int32_t cx = W / 2, cy = H / 2, u = (W - X) / 2, v = (H - Y) / 2;
  CopyThrough(Dest, Src, W, H,
              Merge(RectRegion(0, 0, W, H),
                    {Triangle(0, cy - v, u, cy, 0, cy + v), Triangle(W, cy - v, W - u, cy, W, cy + v),
                     Triangle(cx - u, 0, cx, v, cx + u, 0), Triangle(cx - u, H, cx, H - v, cx + u, H)},
                    TCombineMode::Xor));
}

// Zigzag bands that widen from the centre line.

void ZigzagHorizontal(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                      TRandom& Rand) {
  const int32_t A = H / 10, s = W / 10, m = MulDiv(A, P, 100) + Y / 2;
  const auto band = ZigzagBand(A, s, H / 2, m, true);
  CopyThrough(Dest, Src, W, H, ZigzagRegion(band, A > 0 && m == A + H / 2, RectRegion(0, 0, 11 * s, H)));
}

void ZigzagVertical(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                    TRandom& Rand) {
  const int32_t A = W / 10, s = H / 10, m = MulDiv(A, P, 100) + X / 2;
  const auto band = ZigzagBand(A, s, W / 2, m, false);
  CopyThrough(Dest, Src, W, H, ZigzagRegion(band, A > 0 && m == A + W / 2, RectRegion(0, 0, W, 11 * s)));
}

// Diamonds.

void RevealDiamondOutFromCentre(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                int32_t P, TRandom& Rand) {
  const int32_t cx = W / 2, cy = H / 2;
  CopyThrough(Dest, Src, W, H, Diamond(cx - X, cy, cx, cy - Y, cx + X, cy, cx, cy + Y));
}

void RevealDiamondInToCentre(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                             int32_t P, TRandom& Rand) {
  const int32_t cx = W / 2, cy = H / 2;
  CopyThrough(Dest, Src, W, H,
              Merge(RectRegion(0, 0, W, H), {Diamond(X - cx, cy, cx, Y - cy, 3 * cx - X, cy, cx, 3 * cy - Y)},
                    TCombineMode::Xor));
}

void DiagonalBoxOut(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                    TRandom& Rand) {
  const int32_t cx = W / 2, cy = H / 2, hx = X / 2, hy = Y / 2;
  CopyThrough(Dest, Src, W, H,
              Merge(Diamond(-hx, cy, cx, -hy, 2 * cx + hx, cy, cx, 2 * cy + hy),
                    {Diamond(hx, cy, cx, hy, 2 * cx - hx, cy, cx, 2 * cy - hy)}, TCombineMode::Xor));
}

// Shapes that turn once clockwise while they grow.

void RotationalRectangleInCenter(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                 int32_t P, TRandom& Rand) {
  auto points = CentreRectangle(W, H, X, Y);
  RotatePoints(points, 3, W / 2, H / 2, TurnAngle(P));
  CopyThrough(Dest, Src, W, H, PolygonRegion(std::span<const TPoint>(points)));
}

void RotationalStarInCenter(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                            int32_t P, TRandom& Rand) {
  // Tips at twice the extents, waist corners at half of them.
  const int32_t cx = W / 2, cy = H / 2, hx = X / 2, hy = Y / 2;
  std::array<TPoint, 8> points = {TPoint{cx - 2 * X, cy}, {cx - hx, cy - hy}, {cx, cy - 2 * Y}, {cx + hx, cy - hy},
                                  {cx + 2 * X, cy},       {cx + hx, cy + hy}, {cx, cy + 2 * Y}, {cx - hx, cy + hy}};
  RotatePoints(points, 7, cx, cy, TurnAngle(P));
  CopyThrough(Dest, Src, W, H, PolygonRegion(std::span<const TPoint>(points)));
}

void SpiralRectangle(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                     TRandom& Rand) {
  // About the point (X, Y), which runs from the top-left corner to the bottom-right one.
  auto points = CentreRectangle(W, H, X, Y);
  RotatePoints(points, 3, X, Y, TurnAngle(P));
  CopyThrough(Dest, Src, W, H, PolygonRegion(std::span<const TPoint>(points)));
}

}  // namespace kx
