#include "transitions/uBarEffects.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include "raster/uBlit.h"
#include "raster/uRandom.h"
#include "transitions/uClipCopy.h"
#include "transitions/uComplexRegion.h"

namespace kx {
namespace {

// A column strip of the shreds: its two row ranges (either may be empty).
struct TColumnStrip {
  int32_t Top1, Bottom1, Top2, Bottom2;
};

// The union of the column strips as rectangles in y-x bands, sorted and
// disjoint, so that the region is made from them in one linear pass. Strip i
// spans the columns [i * T, i * T + T + RW). The rows where any strip starts
// or ends cut the picture into bands; within a band the strips that cover it
// are marked in a bit set, and each run of neighbouring marked strips is one
// rectangle. Every strip is a tall rectangle of its own, so handing them to
// the region code as they are would make it merge hundreds of overlapping
// pieces, several times slower.
std::vector<TRect> ColumnStripBands(const std::vector<TColumnStrip>& strips, int32_t T, int32_t RW) {
  struct TEvent {
    int32_t Y;
    int32_t Strip;
    int32_t Delta;
  };
  std::vector<TEvent> events;
  events.reserve(strips.size() * 4);
  for (size_t i = 0; i < strips.size(); ++i) {
    const TColumnStrip& s = strips[i];
    if (s.Top1 < s.Bottom1) {
      events.push_back({s.Top1, int32_t(i), 1});
      events.push_back({s.Bottom1, int32_t(i), -1});
    }
    if (s.Top2 < s.Bottom2) {
      events.push_back({s.Top2, int32_t(i), 1});
      events.push_back({s.Bottom2, int32_t(i), -1});
    }
  }
  std::sort(events.begin(), events.end(), [](const TEvent& a, const TEvent& b) { return a.Y < b.Y; });

  const size_t words = (strips.size() + 63) / 64;
  std::vector<uint64_t> marked(words, 0);
  std::vector<uint8_t> cover(strips.size(), 0);  // ranges of one strip covering the band: 0, 1 or 2
  // The first marked strip at or after i, or the first unmarked one.
  auto next = [&](size_t i, bool set) {
    while (i < strips.size()) {
      const size_t w = i / 64;
      uint64_t bits = set ? marked[w] : ~marked[w];
      bits &= ~uint64_t(0) << (i % 64);
      if (bits) return std::min(w * 64 + size_t(std::countr_zero(bits)), strips.size());
      i = (w + 1) * 64;
    }
    return strips.size();
  };

  std::vector<TRect> bands;
  bands.reserve(4096);
  for (size_t e = 0; e < events.size();) {
    const int32_t top = events[e].Y;
    for (; e < events.size() && events[e].Y == top; ++e) {
      const size_t i = size_t(events[e].Strip);
      cover[i] = uint8_t(cover[i] + events[e].Delta);
      if (cover[i])
        marked[i / 64] |= uint64_t(1) << (i % 64);
      else
        marked[i / 64] &= ~(uint64_t(1) << (i % 64));
    }
    if (e == events.size()) break;
    const int32_t bottom = events[e].Y;
    for (size_t first = next(0, true); first < strips.size();) {
      const size_t end = next(first, false);
      bands.push_back({int32_t(first) * T, top, int32_t(end - 1) * T + T + RW, bottom});
      first = next(end, true);
    }
  }
  return bands;
}

}  // namespace

std::optional<TRegion> BarsRegion(int32_t A, int32_t B, int32_t W, int32_t H, int32_t HMode, int32_t VMode) {
  TComplexRegion list;
  const int32_t T = std::max(std::min(W, H) / 50 + 1, 1);

  // Rows: in the second phase y walks the odd bars and each step also fills
  // the even bar above it.
  if (HMode != 0) {
    const bool second = W < A;
    for (int32_t y = second ? T : 0; y < H + T; y += 2 * T) {
      if (second) {
        if (HMode == 1 || HMode == 4) list.AddRect(2 * W - A, y, W, y + T);
        if (HMode == 2 || HMode == 5) list.AddRect(0, y, A - W, y + T);
        list.AddRect(0, y - T, W, y);
      } else {
        if (HMode == 1 || HMode == 5) list.AddRect(W - A, y, W, y + T);
        if (HMode == 2 || HMode == 4) list.AddRect(0, y, A, y + T);
        if (HMode == 3) {
          list.AddRect(0, y + T, A, y + 2 * T);
          list.AddRect(W - A, y, W, y + T);
        }
      }
    }
  }

  if (VMode != 0) {
    const bool second = B > H;
    for (int32_t x = second ? T : 0; x < W + T; x += 2 * T) {
      if (second) {
        if (VMode == 1 || VMode == 4) list.AddRect(x, 2 * H - B, x + T, H);
        if (VMode == 2 || VMode == 5) list.AddRect(x, 0, x + T, B - H);
        list.AddRect(x - T, 0, x, H);
      } else {
        if (VMode == 1 || VMode == 5) list.AddRect(x, H - B, x + T, H);
        if (VMode == 2 || VMode == 4) list.AddRect(x, 0, x + T, B);
        if (VMode == 3) {
          list.AddRect(x, H - B, x + T, H);
          list.AddRect(x + T, 0, x + 2 * T, B);
        }
      }
    }
  }
  return list.CreateRegion();
}

std::optional<TRegion> ShredRegion(int32_t A, int32_t B, int32_t W, int32_t H, int32_t HMode, int32_t VMode,
                                   TRandom& Rand) {
  TComplexRegion list;
  const int32_t T = std::max(std::min(W, H) / 200 + 1, 1);
  const int32_t RW = W % T, RH = H % T, HW = W / 2, HH = H / 2;

  if (HMode != 0) {
    const int32_t J = A < W ? W / 10 : 0;
    for (int32_t y = 0; y < H; y += T) {
      const int32_t r = int32_t(Rand.Random(uint32_t(2 * J))) - J + A;  // drawn even when J = 0
      const int32_t b = y + T + RH;  // every strip carries the remainder, so the last reaches the bottom
      if (HMode == 1) {
        list.AddRect(W - r, y, W, b);
      } else if (HMode == 2) {
        list.AddRect(0, y, r, b);
      } else if (HMode == 3) {
        const int32_t h = r / 2;
        list.AddRect(HW - h, y, HW, b);
        list.AddRect(HW, y, HW + h, b);
      } else {
        const int32_t h = r / 2;
        list.AddRect(W - h, y, W, b);
        list.AddRect(0, y, h, b);
      }
    }
  }
  std::optional<TRegion> region = list.CreateRegion();

  if (VMode != 0 && W > 0) {
    const int32_t J = B < H ? H / 10 : 0;
    std::vector<TColumnStrip> strips;
    strips.reserve(size_t((W + T - 1) / T));
    for (int32_t x = 0; x < W; x += T) {
      const int32_t r = int32_t(Rand.Random(uint32_t(2 * J))) + B - J;
      if (VMode == 1) {
        strips.push_back({H - r, H, 0, 0});
      } else if (VMode == 2) {
        strips.push_back({0, r, 0, 0});
      } else if (VMode == 3) {
        const int32_t h = r / 2;
        strips.push_back({HH - h, HH, HH, HH + h});
      } else {
        const int32_t h = r / 2;
        strips.push_back({H - h, H, 0, h});
      }
    }
    const TRegion columns = TRegion::FromRects(ColumnStripBands(strips, T, RW));
    if (region)
      CombineRegions(*region, *region, columns, TCombineMode::Or);
    else
      region = columns;
  }
  return region;
}

#define KX_BARS(name, a, b, hmode, vmode)                                                                 \
  void name(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P, \
            TRandom& Rand) {                                                                              \
    CopyThrough(Dest, Src, W, H, BarsRegion(a, b, W, H, hmode, vmode));                                   \
  }
KX_BARS(BarsInFromRight, 2 * X, 0, 1, 0)
KX_BARS(BarsInFromLeft, 2 * X, 0, 2, 0)
KX_BARS(BarsLeftThenRight, 2 * X, 0, 4, 0)
KX_BARS(BarsRightThenLeft, 2 * X, 0, 5, 0)
KX_BARS(BarsFromBothSides, X, 0, 3, 0)
KX_BARS(BarsFromBottom, 0, 2 * Y, 0, 1)
KX_BARS(BarsFromTop, 0, 2 * Y, 0, 2)
KX_BARS(BarsTopThenBottom, 0, 2 * Y, 0, 4)
KX_BARS(BarsBottomThenTop, 0, 2 * Y, 0, 5)
KX_BARS(BarsFromTopAndBottom, 0, Y, 0, 3)
KX_BARS(CrissCrossFromBottomRight, 2 * X, 2 * Y, 1, 1)
KX_BARS(CrissCrossFromTopRight, 2 * X, 2 * Y, 1, 2)
KX_BARS(CrissCrossFromBottomLeft, 2 * X, 2 * Y, 2, 1)
KX_BARS(CrissCrossFromTopLeft, 2 * X, 2 * Y, 2, 2)
KX_BARS(CrissCrossBounceFromTopLeft, 2 * X, 2 * Y, 4, 4)
KX_BARS(CrissCrossBounceFromBottomLeft, 2 * X, 2 * Y, 4, 5)
KX_BARS(CrissCrossBounceFromTopRight, 2 * X, 2 * Y, 5, 4)
KX_BARS(CrissCrossBounceFromBottomRight, 2 * X, 2 * Y, 5, 5)
KX_BARS(CrissCrossFromRightTopAndBottom, X, Y, 1, 3)
KX_BARS(CrissCrossFromLeftTopAndBottom, X, Y, 2, 3)
KX_BARS(CrissCrossFromLeftRightAndBottom, X, Y, 3, 1)
KX_BARS(CrissCrossFromLeftRightAndTop, X, Y, 3, 2)
KX_BARS(CrissCrossFromTopLeftAndBottom, X, Y, 3, 3)
#undef KX_BARS

// Only where bars from both ends overlap: the bars from the right and the
// bottom intersected with those from the left and the top.
void CrissCrossFromBottomLeftTopRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                      int32_t P, TRandom& Rand) {
  std::optional<TRegion> region = BarsRegion(2 * X, 2 * Y, W, H, 1, 1);
  {
    const std::optional<TRegion> other = BarsRegion(2 * X, 2 * Y, W, H, 2, 2);
    if (region && other) CombineRegions(*region, *region, *other, TCombineMode::And);
  }
  CopyThrough(Dest, Src, W, H, region);
}

#define KX_SHREDS(name, a, b, hmode, vmode)                                                               \
  void name(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P, \
            TRandom& Rand) {                                                                              \
    CopyThrough(Dest, Src, W, H, ShredRegion(a, b, W, H, hmode, vmode, Rand));                            \
  }
KX_SHREDS(UnevenShredFromRight, X, 0, 1, 0)
KX_SHREDS(UnevenShredFromLeft, X, 0, 2, 0)
KX_SHREDS(UnevenShredOutFromMiddleHoriz, X, 0, 3, 0)
KX_SHREDS(UnevenShredInToMiddleHoriz, X, 0, 4, 0)
KX_SHREDS(UnevenShredFromBottom, 0, Y, 0, 1)
KX_SHREDS(UnevenShredFromTop, 0, Y, 0, 2)
KX_SHREDS(UnevenShredFromHorizon, 0, Y, 0, 3)
KX_SHREDS(UnevenShredInToHorizon, 0, Y, 0, 4)
KX_SHREDS(UnevenShredFromBottomAndRight, X, Y, 1, 1)
KX_SHREDS(UnevenShredFromTopAndRight, X, Y, 1, 2)
KX_SHREDS(UnevenShredFromBottomAndLeft, X, Y, 2, 1)
KX_SHREDS(UnevenShredFromTopAndLeft, X, Y, 2, 2)
KX_SHREDS(UnevenShredFromHorizAndRight, X, Y, 1, 3)
KX_SHREDS(UnevenShredFromHorizAndLeft, X, Y, 2, 3)
KX_SHREDS(UnevenShredFromBottomAndVertMiddle, X, Y, 3, 1)
KX_SHREDS(UnevenShredFromTopAndVertMiddle, X, Y, 3, 2)
KX_SHREDS(UnevenShredFromCentre, X, Y, 3, 3)
KX_SHREDS(UnevenShredToCentre, X, Y, 4, 4)
#undef KX_SHREDS

}  // namespace kx
