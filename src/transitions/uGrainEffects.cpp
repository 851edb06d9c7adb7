#include "transitions/uGrainEffects.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "raster/uBlit.h"
#include "transitions/uClipCopy.h"
#include "transitions/uComplexRegion.h"
#include "raster/uRandom.h"

namespace kx {
namespace {

// The fringe ahead of a front that has come E pixels in along a side L long.
struct TFringe {
  int32_t Side;   // of one speck
  int32_t Step;   // between successive rows (columns) of specks: they overlap by half
  int32_t Cells;  // speck cells across the fringe
  int32_t Dense;  // cells 1 .. Dense (the nearer three quarters) are filled more often

  TFringe(int32_t L, int32_t E) {
    const int32_t depth = E < L ? L / 10 : 0;
    Side = std::max(depth / 20, 2);
    Step = Side / 2;
    Cells = depth / Side;
    Dense = (3 * depth) / (4 * Side);
  }

  // Draws the cells of one row (column) of specks from the show's generator,
  // farthest first: shows[k] for k = Cells down to 1. Cell k shows with
  // probability 2/k in the dense part and 1/k beyond it, so the cell at the
  // front always shows.
  void Draw(uint8_t* shows, TRandom& Rand) const {
    for (int32_t k = Cells; k >= 1; --k) {
      const uint32_t r = Rand.Random(uint32_t(k));
      shows[k] = k <= Dense ? r <= 1 : r == 0;
    }
  }
};

void DrawSpeckle(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t A, int32_t B, int32_t HMode,
                 int32_t VMode, TRandom& Rand) {
  // A region is missing only when the picture has no rows or columns, and
  // then there is nothing to draw either.
  const std::optional<TRegion> region = SpeckleRegion(A, B, W, H, HMode, VMode, Rand);
  if (region) CopyThrough(Dest, Src, W, H, *region);
}

}  // namespace

// The rectangles are added in rising order of top, then left (the draws stay
// in their order: row by row, or column by column): the region is then made
// from the list several times faster than from rectangles in any order.
std::optional<TRegion> SpeckleRegion(int32_t A, int32_t B, int32_t W, int32_t H, int32_t HMode, int32_t VMode,
                                     TRandom& Rand) {
  TComplexRegion list;
  std::vector<uint8_t> shows;
  if (HMode != 0) {
    const TFringe f(W, A);
    shows.assign(size_t(f.Cells) + 1, 0);
    for (int32_t y = 0; y < H; y += f.Step) {
      const int32_t bottom = y + f.Side;
      f.Draw(shows.data(), Rand);
      if (HMode == 1) {
        const int32_t front = W - A;
        for (int32_t k = f.Cells; k >= 1; --k)
          if (shows[size_t(k)]) list.AddRect(front - k * f.Side, y, front - k * f.Side + f.Side, bottom);
        list.AddRect(front, y, W, bottom);
      } else {
        list.AddRect(0, y, A, bottom);
        for (int32_t k = 1; k <= f.Cells; ++k)
          if (shows[size_t(k)]) list.AddRect(A + k * f.Side - f.Side, y, A + k * f.Side, bottom);
      }
    }
  }
  if (VMode != 0) {
    const TFringe f(H, B);
    // Every column's draws first, then the cells band by band.
    const size_t stride = size_t(f.Cells) + 1;
    const int32_t columns = W > 0 ? int32_t((int64_t(W) + f.Step - 1) / f.Step) : 0;
    shows.assign(size_t(columns) * stride, 0);
    for (int32_t c = 0; c < columns; ++c) f.Draw(shows.data() + size_t(c) * stride, Rand);
    auto cell = [&](int32_t c, int32_t k) { return shows[size_t(c) * stride + size_t(k)] != 0; };
    if (VMode == 1) {
      const int32_t front = H - B;
      for (int32_t k = f.Cells; k >= 1; --k)
        for (int32_t c = 0, x = 0; c < columns; ++c, x += f.Step)
          if (cell(c, k)) list.AddRect(x, front - k * f.Side, x + f.Side, front - k * f.Side + f.Side);
      for (int32_t c = 0, x = 0; c < columns; ++c, x += f.Step) list.AddRect(x, front, x + f.Side, H);
    } else {
      for (int32_t c = 0, x = 0; c < columns; ++c, x += f.Step) list.AddRect(x, 0, x + f.Side, B);
      for (int32_t k = 1; k <= f.Cells; ++k)
        for (int32_t c = 0, x = 0; c < columns; ++c, x += f.Step)
          if (cell(c, k)) list.AddRect(x, B + k * f.Side - f.Side, x + f.Side, B + k * f.Side);
    }
  }
  return list.CreateRegion();
}

std::optional<TRegion> RandomSquaresRegion(int32_t W, int32_t H, int32_t P) {
  if (W <= 0 || H <= 0) return std::nullopt;
  const int32_t Q = std::min(W, H) / 50 + 1;
  // The pattern must be the same in every frame, so it comes from a
  // generator of its own: the show's is left alone, and whatever it stands
  // at cannot disturb the pattern.
  TRandom random((uint32_t(W) + uint32_t(H)) * uint32_t(Q));
  TComplexRegion list;
  for (int32_t cx = Q; cx - Q < W; cx += 2 * Q)
    for (int32_t cy = Q; cy - Q < H; cy += 2 * Q)
      if (int32_t(random.Random(100)) < P) list.AddRect(cx - Q, cy - Q, cx + Q, cy + Q);
  return list.CreateRegion();
}

void SpeckleAppearFromRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                            int32_t P, TRandom& Rand) {
  DrawSpeckle(Dest, Src, W, H, X, Y, 1, 0, Rand);
}

void SpeckleAppearFromLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                           TRandom& Rand) {
  DrawSpeckle(Dest, Src, W, H, X, Y, 2, 0, Rand);
}

void SpeckleAppearFromBottom(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                             int32_t P, TRandom& Rand) {
  DrawSpeckle(Dest, Src, W, H, X, Y, 0, 1, Rand);
}

void SpeckleAppearFromTop(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                          TRandom& Rand) {
  DrawSpeckle(Dest, Src, W, H, X, Y, 0, 2, Rand);
}

void RandomSquaresAppear(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                         TRandom& Rand) {
  // No square at all (P = 0): nothing to draw.
  const std::optional<TRegion> region = RandomSquaresRegion(W, H, P);
  if (region) CopyThrough(Dest, Src, W, H, *region);
}

}  // namespace kx
