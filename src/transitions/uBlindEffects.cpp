#include "transitions/uBlindEffects.h"

#include <algorithm>

#include "raster/uBlit.h"
#include "transitions/uClipCopy.h"
#include "transitions/uComplexRegion.h"
#include "raster/uMath.h"
#include "raster/uRegionTiles.h"

namespace kx {
namespace {

// Makes the region of the list and draws through it; nothing without one.
void DrawList(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, TComplexRegion& list) {
  const std::optional<TRegion> region = list.CreateRegion();
  list.Clear();
  if (region) CopyThrough(Dest, Src, W, H, *region);
}

void DrawRegion(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, const std::optional<TRegion>& region) {
  if (region) CopyThrough(Dest, Src, W, H, *region);
}

// Horizontal bands with M = H / 20 (vertical ones with M = W / 20) on a pitch
// of 3M, centred at -M, 2M, 5M, ..., each growing from its centre line to at
// most 2M. False when M is 0: the effect then draws nothing.
bool AddBands(TComplexRegion& list, int32_t W, int32_t H, int32_t P, bool horizontal) {
  const int32_t length = horizontal ? H : W, M = length / 20;
  if (M == 0) return false;
  const int32_t a = MulDiv(M, P, 100);
  for (int32_t b = -M; b < length; b += 3 * M) {
    if (horizontal) list.AddRect(0, b - a, W, b + a);
    else list.AddRect(b - a, 0, b + a, H);
  }
  return true;
}

// Vertical slats side by side (horizontal ones one above the other) on the
// pitch E, the extent, each the fraction P / 100 of it, laid from the left
// or top edge, or from the right or bottom one.
void AddSlats(TComplexRegion& list, int32_t W, int32_t H, int32_t E, int32_t P, bool vertical, bool fromEnd) {
  const int32_t length = vertical ? W : H, a = MulDiv(E, P, 100);
  auto add = [&](int32_t from, int32_t to) {
    if (vertical) list.AddRect(from, 0, to, H);
    else list.AddRect(0, from, W, to);
  };
  if (fromEnd) {
    for (int32_t e = length; e > 0; e -= E) add(e - a, e);
  } else {
    for (int32_t s = 0; s < length; s += E) add(s, s + a);
  }
}

void UnevenBlind(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t E, int32_t P, bool vertical,
                 bool fromEnd) {
  if (E <= 0) return;
  TComplexRegion list;
  AddSlats(list, W, H, E, P, vertical, fromEnd);
  DrawList(Dest, Src, W, H, list);
}

// Horizontal bands with vertical slats, or vertical bands with horizontal slats.
void StripedRectangles(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t E, int32_t P,
                       bool horizontalBands, bool fromEnd) {
  if (E <= 0) return;
  TComplexRegion list;
  if (!AddBands(list, W, H, P, horizontalBands)) return;
  AddSlats(list, W, H, E, P, horizontalBands, fromEnd);
  DrawList(Dest, Src, W, H, list);
}

// The union of the shapes centred on a grid of pitch 2CX by 2CY, the first
// at (CX, CY): the columns while their cells start inside the picture, the
// rows likewise but reaching extraRows half-pitches further down. All shapes
// are the same shape moved by whole cells, so one is made and tiled. None
// when there is no cell.
template <class F>
std::optional<TRegion> GridUnion(int32_t W, int32_t H, int32_t CX, int32_t CY, int32_t extraRows, F&& shape) {
  if (W <= 0 || H <= 0) return std::nullopt;
  const int64_t columns = (int64_t(W) + 2 * CX - 1) / (2 * CX);
  const int64_t rows = (int64_t(H) + int64_t(extraRows) * CY + 2 * CY - 1) / (2 * CY);
  return TiledUnion(shape(CX, CY), 2 * CX, int32_t(columns), 2 * CY, int32_t(rows));
}

}  // namespace

std::optional<TRegion> CircularShredRegion(int32_t W, int32_t H, int32_t P) {
  const int32_t C = std::min(W, H) / 10 + 1, r = MulDiv(3 * C, P, 200);
  return GridUnion(W, H, C, C, 0,
                   [r](int32_t cx, int32_t cy) { return EllipseRegion(cx - r, cy - r, cx + r, cy + r); });
}

std::optional<TRegion> DiamondShredRegion(int32_t W, int32_t H, int32_t P) {
  const int32_t C = std::min(W, H) / 10 + 1, r = MulDiv(C, P, 50);
  return GridUnion(W, H, C, C, 0, [r](int32_t cx, int32_t cy) {
    return PolygonRegion({cx - r, cy, cx, cy - r, cx + r, cy, cx, cy + r});
  });
}

std::optional<TRegion> TriangularShredRegion(int32_t W, int32_t H, int32_t P) {
  const int32_t CW = W / 10 + 1, CH = H / 10 + 1;
  const int32_t hx = MulDiv(CW, P, 50), hy = MulDiv(CH, P, 50);
  // One row more: the triangles of the next row cover the lower corners of each cell.
  return GridUnion(W, H, CW, CH, 1, [hx, hy](int32_t cx, int32_t cy) {
    return PolygonRegion({cx - hx, cy - hy, cx, cy + hy, cx + hx, cy - hy});
  });
}

void BlindVertically(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                     TRandom& Rand) {
  const int32_t N = W / 40 + 1, a = MulDiv(N, P, 100);
  TComplexRegion list;
  for (int32_t s = 0; s < W; s += 2 * N) list.AddRect(s + N - a, 0, s + N + a, H);
  DrawList(Dest, Src, W, H, list);
}

void BlindHorizontally(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                       TRandom& Rand) {
  const int32_t N = H / 40 + 1, a = MulDiv(N, P, 100);
  TComplexRegion list;
  for (int32_t s = 0; s < H; s += 2 * N) list.AddRect(0, s + N - a, W, s + N + a);
  DrawList(Dest, Src, W, H, list);
}

void UnevenBlindFromLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                         TRandom& Rand) {
  UnevenBlind(Dest, Src, W, H, X, P, true, false);
}

void UnevenBlindFromRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                          TRandom& Rand) {
  UnevenBlind(Dest, Src, W, H, X, P, true, true);
}

void UnevenBlindFromTop(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                        TRandom& Rand) {
  UnevenBlind(Dest, Src, W, H, Y, P, false, false);
}

void UnevenBlindFromBottom(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                           TRandom& Rand) {
  UnevenBlind(Dest, Src, W, H, Y, P, false, true);
}

void RectangularShred(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                      TRandom& Rand) {
  if (W <= 0 || H <= 0) return;
  const int32_t R = std::min(W, H) / 10 + 1, a = MulDiv(R, P, 100);
  TComplexRegion list;
  for (int32_t sx = 0; sx < W; sx += 2 * R)
    for (int32_t sy = 0; sy < H; sy += 2 * R) list.AddRect(sx + R - a, sy + R - a, sx + R + a, sy + R + a);
  DrawList(Dest, Src, W, H, list);
}

void RectanglesFromLeftToRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                               int32_t P, TRandom& Rand) {
  StripedRectangles(Dest, Src, W, H, X, P, true, false);
}

void RectanglesFromRightToLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                               int32_t P, TRandom& Rand) {
  StripedRectangles(Dest, Src, W, H, X, P, true, true);
}

void RectanglesFromUpToBottom(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                              int32_t P, TRandom& Rand) {
  StripedRectangles(Dest, Src, W, H, Y, P, false, false);
}

void RectanglesFromBottomToUp(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                              int32_t P, TRandom& Rand) {
  StripedRectangles(Dest, Src, W, H, Y, P, false, true);
}

void CircularShred(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                   TRandom& Rand) {
  DrawRegion(Dest, Src, W, H, CircularShredRegion(W, H, P));
}

void DiamondShred(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                  TRandom& Rand) {
  DrawRegion(Dest, Src, W, H, DiamondShredRegion(W, H, P));
}

void TriangularShred(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                     TRandom& Rand) {
  DrawRegion(Dest, Src, W, H, TriangularShredRegion(W, H, P));
}

}  // namespace kx
