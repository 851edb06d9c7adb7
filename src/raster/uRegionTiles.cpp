#include "raster/uRegionTiles.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace kx {

namespace {

struct TSpan {
  int64_t Left, Right;
};

bool ByLeft(const TSpan& a, const TSpan& b) { return a.Left < b.Left; }

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

int32_t Clamp32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

TRegion TiledUnion(const TRegion& shape, int32_t DX, int32_t NX, int32_t DY, int32_t NY) {
  if (DX <= 0 || DY <= 0) throw std::invalid_argument("tile steps must be positive");
  if (shape.Empty() || NX <= 0 || NY <= 0) return {};
  const std::span<const TRect> rects = shape.Rects();
  const TRect bounds = shape.Bounds();

  // The shape's rectangles come in bands of equal top and bottom, left to
  // right; band[t] is the first rectangle of the band holding row
  // bounds.Top + t and bandEnd[t] the end of it (equal where no band does).
  const size_t height = size_t(bounds.Height());
  std::vector<uint32_t> band(height, 0), bandEnd(height, 0);
  for (size_t k = 0; k < rects.size();) {
    size_t e = k;
    while (e < rects.size() && rects[e].Top == rects[k].Top) ++e;
    for (int32_t y = rects[k].Top; y < rects[k].Bottom; ++y) {
      band[size_t(y - bounds.Top)] = uint32_t(k);
      bandEnd[size_t(y - bounds.Top)] = uint32_t(e);
    }
    k = e;
  }

  std::vector<TRect> out;
  std::vector<TSpan> row, merged, scratch;
  size_t previous = 0, previousCount = 0;  // the last row's rectangles in out
  const int64_t firstRow = bounds.Top;
  const int64_t lastRow = std::min<int64_t>(int64_t(bounds.Bottom) - 1 + int64_t(NY - 1) * DY, INT32_MAX - 1);
  for (int64_t y = firstRow; y <= lastRow; ++y) {
    // The copies j whose rows cover y, each adding its spans in rising order
    // of their left ends; the lists are merged as they come.
    const int64_t jFirst = std::max<int64_t>(0, FloorDiv(y - bounds.Bottom, DY) + 1);
    const int64_t jLast = std::min<int64_t>(NY - 1, FloorDiv(y - bounds.Top, DY));
    row.clear();
    for (int64_t j = jFirst; j <= jLast; ++j) {
      const size_t t = size_t(y - j * DY - bounds.Top);
      const size_t from = row.size();
      for (int64_t i = 0; i < NX; ++i)
        for (uint32_t k = band[t]; k < bandEnd[t]; ++k)
          row.push_back({rects[k].Left + i * DX, rects[k].Right + i * DX});
      // Copies wider than the step interleave their spans.
      if (!std::is_sorted(row.begin() + ptrdiff_t(from), row.end(), ByLeft))
        std::sort(row.begin() + ptrdiff_t(from), row.end(), ByLeft);
      if (from > 0) {
        scratch.resize(row.size());
        std::merge(row.begin(), row.begin() + ptrdiff_t(from), row.begin() + ptrdiff_t(from), row.end(),
                   scratch.begin(), ByLeft);
        row.swap(scratch);
      }
    }
    // Overlapping and touching spans become one.
    merged.clear();
    for (const TSpan& s : row) {
      if (!merged.empty() && s.Left <= merged.back().Right)
        merged.back().Right = std::max(merged.back().Right, s.Right);
      else merged.push_back(s);
    }
    // A row like the one before it only makes that row's rectangles taller.
    const int32_t y32 = Clamp32(y);
    bool same = previousCount == merged.size() && previousCount > 0 && out[previous].Bottom == y32;
    for (size_t m = 0; same && m < merged.size(); ++m)
      same = out[previous + m].Left == Clamp32(merged[m].Left) && out[previous + m].Right == Clamp32(merged[m].Right);
    if (same) {
      for (size_t m = 0; m < merged.size(); ++m) out[previous + m].Bottom = y32 + 1;
      continue;
    }
    previous = out.size();
    previousCount = merged.size();
    for (const TSpan& s : merged) out.push_back({Clamp32(s.Left), y32, Clamp32(s.Right), y32 + 1});
  }
  return TRegion::FromRects(out);
}

}  // namespace kx
