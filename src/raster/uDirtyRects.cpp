#include "raster/uDirtyRects.h"

#include <algorithm>
#include <cstring>

namespace kx {
namespace {

// Whole blocks are compared with memcmp (vectorised by the C library); only
// the block that differs is searched pixel by pixel.
constexpr int32_t kBlock = 32;

int32_t FirstDifference(const TPixel* a, const TPixel* b, int32_t n) {
  int32_t i = 0;
  while (i + kBlock <= n && std::memcmp(a + i, b + i, kBlock * sizeof(TPixel)) == 0) i += kBlock;
  for (; i < n; ++i)
    if (a[i] != b[i]) return i;
  return n;
}

// One past the last differing pixel; only called when one differs.
int32_t LastDifference(const TPixel* a, const TPixel* b, int32_t n) {
  int32_t i = n;
  while (i - kBlock >= 0 && std::memcmp(a + i - kBlock, b + i - kBlock, kBlock * sizeof(TPixel)) == 0) i -= kBlock;
  for (; i > 0; --i)
    if (a[i - 1] != b[i - 1]) return i;
  return 0;
}

// Joins neighbours (in row order) until at most maxRects remain, each time
// the pair whose joint rectangle adds the least area.
void Reduce(std::vector<TRect>& rects, size_t maxRects) {
  maxRects = std::max<size_t>(maxRects, 1);
  while (rects.size() > maxRects) {
    size_t best = 0;
    int64_t bestCost = INT64_MAX;
    for (size_t i = 0; i + 1 < rects.size(); ++i) {
      const int64_t cost = rects[i].Union(rects[i + 1]).Area() - rects[i].Area() - rects[i + 1].Area();
      if (cost < bestCost) bestCost = cost, best = i;
    }
    rects[best] = rects[best].Union(rects[best + 1]);
    rects.erase(rects.begin() + std::ptrdiff_t(best) + 1);
  }
}

}  // namespace

std::vector<TRect> ChangedRects(const TBitmap32& shown, const TBitmap32& frame, int32_t x, int32_t y,
                                size_t maxRects) {
  std::vector<TRect> rects;
  const TRect area = frame.BoundsRect().Offset(x, y).Intersect(shown.BoundsRect());
  if (area.Empty()) return rects;
  bool open = false;  // the last rectangle still grows with the next row
  for (int32_t row = area.Top; row < area.Bottom; ++row) {
    const TPixel* a = shown.Row(row) + area.Left;
    const TPixel* b = frame.Row(row - y) + (area.Left - x);
    const int32_t first = FirstDifference(a, b, area.Width());
    if (first == area.Width()) {
      open = false;
      continue;
    }
    const int32_t last = LastDifference(a, b, area.Width());
    const TRect span{area.Left + first, row, area.Left + last, row + 1};
    if (open) rects.back() = rects.back().Union(span);
    else rects.push_back(span);
    open = true;
  }
  Reduce(rects, maxRects);
  return rects;
}

void CopyRects(TBitmap32& shown, const TBitmap32& frame, int32_t x, int32_t y, const std::vector<TRect>& rects) {
  for (const TRect& rect : rects) {
    const TRect r = rect.Intersect(frame.BoundsRect().Offset(x, y)).Intersect(shown.BoundsRect());
    for (int32_t row = r.Top; row < r.Bottom; ++row)
      std::memcpy(shown.Row(row) + r.Left, frame.Row(row - y) + (r.Left - x), size_t(r.Width()) * sizeof(TPixel));
  }
}

TRect ScaledCover(const TRect& changed, int32_t srcWidth, int32_t srcHeight, const TRect& to) {
  if (changed.Empty() || srcWidth <= 0 || srcHeight <= 0 || to.Empty()) return {};
  if (to.Width() == srcWidth && to.Height() == srcHeight) return changed.Offset(to.Left, to.Top).Intersect(to);
  // A destination pixel reads the source pixels on either side of where its
  // centre falls, so one source pixel around the change reaches it; one more
  // destination pixel covers the fixed-point rounding of the scale.
  const auto low = [](int32_t v, int32_t from, int32_t into) { return int32_t(int64_t(v - 1) * into / from) - 1; };
  const auto high = [](int32_t v, int32_t from, int32_t into) {
    return int32_t((int64_t(v + 1) * into + from - 1) / from) + 1;
  };
  const TRect r{to.Left + low(changed.Left, srcWidth, to.Width()), to.Top + low(changed.Top, srcHeight, to.Height()),
                to.Left + high(changed.Right, srcWidth, to.Width()),
                to.Top + high(changed.Bottom, srcHeight, to.Height())};
  return r.Intersect(to);
}

}  // namespace kx
