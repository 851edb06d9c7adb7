#include "raster/uBlit.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace kx {
namespace {

// The part of the clip (or of the whole area when there is none) that lies in area.
TRegion VisiblePart(const TBitmap32& dst, const TRect& area) {
  TRegion visible;
  if (!pixman_region32_intersect_rect(visible.Handle(), dst.ClipRegion()->Handle(), area.Left, area.Top,
                                      uint32_t(area.Width()), uint32_t(area.Height())))
    throw std::bad_alloc();
  return visible;
}

void CopyRows(TPixel* to, size_t toStride, const TPixel* from, size_t fromStride, int32_t w, int32_t h) {
  for (int32_t y = 0; y < h; ++y) std::memcpy(to + y * toStride, from + y * fromStride, size_t(w) * sizeof(TPixel));
}

// Which source position each destination position along one axis takes.
struct TAxisMap {
  int32_t First = 0;          // first destination position drawn
  std::vector<int32_t> Pos;   // its source position, and those of the following ones
  bool Flip = false;          // mirrored: source positions fall
  bool Straight = false;      // source positions run on one by one
};

// Destination positions d .. d + dn - 1 (mirrored for a negative dn) take the
// source positions s .. s + sn - 1 scaled by centre sampling; only positions
// inside both [0, dLimit) and [0, sLimit) are kept.
TAxisMap MapAxis(int64_t d, int64_t dn, int64_t s, int64_t sn, int32_t dLimit, int32_t sLimit) {
  bool flip = false;
  if (dn < 0) {
    d += dn + 1;
    dn = -dn;
    flip = !flip;
  }
  if (sn < 0) {
    s += sn + 1;
    sn = -sn;
    flip = !flip;
  }
  TAxisMap map;
  const int64_t lo = std::max<int64_t>(d, 0), hi = std::min<int64_t>(d + dn, dLimit);
  if (lo >= hi) return map;
  map.Pos.reserve(size_t(hi - lo));
  int64_t first = hi;
  for (int64_t p = lo; p < hi; ++p) {
    const int64_t i = p - d;
    int64_t j = int64_t((__int128(2 * i + 1) * sn) / (2 * dn));  // 128 bits: extreme blocks cannot overflow
    if (flip) j = sn - 1 - j;
    const int64_t sp = s + j;
    if (sp < 0 || sp >= sLimit) {
      // The mapping is monotonic, so outside positions lie only at the two ends.
      if (map.Pos.empty()) continue;
      break;
    }
    if (map.Pos.empty()) first = p;
    map.Pos.push_back(int32_t(sp));
  }
  map.First = int32_t(first);
  map.Flip = flip;
  map.Straight = !flip && sn == dn;
  return map;
}

// A stretch of destination columns that either repeats one source pixel or
// copies consecutive source pixels.
struct TRun {
  int32_t Dest, Src, Len;
  bool Fill;
};

// The column map as runs, when they are long enough on average to beat a
// pixel-by-pixel gather (scales near 1 and strong enlargements).
std::vector<TRun> MakeRuns(const std::vector<int32_t>& pos) {
  std::vector<TRun> runs;
  const int32_t n = int32_t(pos.size());
  for (int32_t i = 0; i < n;) {
    int32_t j = i + 1;
    const bool fill = j < n && pos[size_t(j)] == pos[size_t(i)];
    if (fill) {
      while (j < n && pos[size_t(j)] == pos[size_t(i)]) ++j;
    } else {
      while (j < n && pos[size_t(j)] == pos[size_t(j - 1)] + 1) ++j;
    }
    runs.push_back({i, pos[size_t(i)], j - i, fill});
    if (runs.size() * 4 > size_t(n)) return {};
    i = j;
  }
  return runs;
}

// Asks for the cache lines of row[a] to row[b] (either order) ahead of use.
void FetchAhead(const TPixel* row, int32_t a, int32_t b) {
  if (a > b) std::swap(a, b);
  const auto* p = reinterpret_cast<const char*>(row + a);
  const auto* e = reinterpret_cast<const char*>(row + b);
  for (; p <= e; p += 64) __builtin_prefetch(p);
}

// Which order of destination rows lets a stretch within one bitmap read every
// source row before it is overwritten: +1 top down, -1 bottom up, 0 neither.
int RowOrder(const TAxisMap& rows) {
  if (rows.Flip) return 0;
  bool down = true, up = true;
  for (size_t i = 0; i < rows.Pos.size(); ++i) {
    const int32_t dest = rows.First + int32_t(i);
    down = down && rows.Pos[i] >= dest;
    up = up && rows.Pos[i] <= dest;
  }
  return down ? 1 : up ? -1 : 0;
}

}  // namespace

void Copy(TBitmap32& dst, int32_t dx, int32_t dy, int32_t w, int32_t h, const TBitmap32& src, int32_t sx,
          int32_t sy) {
  if (w <= 0 || h <= 0 || dst.Empty() || src.Empty()) return;
  // Source coordinates are destination coordinates minus (ox, oy).
  const int64_t ox = int64_t(dx) - sx, oy = int64_t(dy) - sy;
  const int64_t l = std::max<int64_t>({dx, ox, 0}), t = std::max<int64_t>({dy, oy, 0});
  const int64_t r = std::min<int64_t>({int64_t(dx) + w, ox + src.Width(), dst.Width()});
  const int64_t b = std::min<int64_t>({int64_t(dy) + h, oy + src.Height(), dst.Height()});
  if (l >= r || t >= b) return;
  const TRect area{int32_t(l), int32_t(t), int32_t(r), int32_t(b)};
  const int32_t srcLeft = int32_t(l - ox), srcTop = int32_t(t - oy);
  const bool same = &src == &dst;

  if (!dst.ClipRegion()) {
    const size_t bytes = size_t(area.Width()) * sizeof(TPixel);
    if (same && area.Top > srcTop) {
      // Moving down: start with the bottom row so no source row is overwritten before it is read.
      for (int32_t y = area.Bottom - 1; y >= area.Top; --y)
        std::memmove(dst.Row(y) + area.Left, dst.Row(y - area.Top + srcTop) + srcLeft, bytes);
    } else {
      for (int32_t y = area.Top; y < area.Bottom; ++y)
        std::memmove(dst.Row(y) + area.Left, src.Row(y - area.Top + srcTop) + srcLeft, bytes);
    }
    return;
  }

  const TRegion visible = VisiblePart(dst, area);
  if (visible.Empty()) return;
  // Several clip rectangles over one bitmap could read pixels an earlier one
  // wrote, so a copy within one bitmap reads from a snapshot of the block.
  std::vector<TPixel> snapshot;
  const TPixel* from = src.Row(srcTop) + srcLeft;
  size_t fromStride = size_t(src.Width());
  if (same) {
    snapshot.resize(size_t(area.Width()) * size_t(area.Height()));
    CopyRows(snapshot.data(), size_t(area.Width()), from, fromStride, area.Width(), area.Height());
    from = snapshot.data();
    fromStride = size_t(area.Width());
  }
  const size_t dstStride = size_t(dst.Width());
  for (const TRect& c : visible.Rects())
    CopyRows(dst.Row(c.Top) + c.Left, dstStride, from + size_t(c.Top - area.Top) * fromStride + (c.Left - area.Left),
             fromStride, c.Width(), c.Height());
}

void StretchCopy(TBitmap32& dst, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const TBitmap32& src, int32_t sx,
                 int32_t sy, int32_t sw, int32_t sh) {
  if (dw == 0 || dh == 0 || sw == 0 || sh == 0 || dst.Empty() || src.Empty()) return;
  TAxisMap cols = MapAxis(dx, dw, sx, sw, dst.Width(), src.Width());
  TAxisMap rows = MapAxis(dy, dh, sy, sh, dst.Height(), src.Height());
  if (cols.Pos.empty() || rows.Pos.empty()) return;
  const TRect area = TRect::FromSize(cols.First, rows.First, int32_t(cols.Pos.size()), int32_t(rows.Pos.size()));
  const auto [minCol, maxCol] = std::minmax_element(cols.Pos.begin(), cols.Pos.end());
  const int32_t colBase = *minCol, colSpan = *maxCol - *minCol + 1;
  for (int32_t& p : cols.Pos) p -= colBase;  // columns relative to the leftmost one read
  const std::vector<TRun> runs = cols.Straight ? std::vector<TRun>{} : MakeRuns(cols.Pos);

  // Source rows, from colBase on. Within one bitmap they come from a
  // snapshot of the block, or one row at a time from a row buffer when the
  // rows can be visited in an order that reads each before it is written.
  const bool same = &src == &dst;
  int order = same && !dst.ClipRegion() ? RowOrder(rows) : same ? 0 : 1;
  std::vector<TPixel> snapshot, rowBuffer;
  const TPixel* base = src.Bits() + colBase;
  size_t stride = size_t(src.Width());
  if (order == 0) {
    const auto [minRow, maxRow] = std::minmax_element(rows.Pos.begin(), rows.Pos.end());
    const int32_t rowBase = *minRow, rowSpan = *maxRow - *minRow + 1;
    snapshot.resize(size_t(colSpan) * size_t(rowSpan));
    CopyRows(snapshot.data(), size_t(colSpan), src.Row(rowBase) + colBase, stride, colSpan, rowSpan);
    for (int32_t& p : rows.Pos) p -= rowBase;
    base = snapshot.data();
    stride = size_t(colSpan);
    order = 1;
  } else if (same) {
    rowBuffer.resize(size_t(colSpan));
  }

  auto drawRow = [&](TPixel* d, const TPixel* s, int32_t from, int32_t to) {
    if (cols.Straight) {
      std::memcpy(d + from, s + cols.Pos[size_t(from)], size_t(to - from) * sizeof(TPixel));
    } else if (!runs.empty() && from == 0 && to == area.Width()) {
      for (const TRun& r : runs) {
        if (r.Fill) std::fill_n(d + r.Dest, r.Len, s[r.Src]);
        else std::memcpy(d + r.Dest, s + r.Src, size_t(r.Len) * sizeof(TPixel));
      }
    } else {
      const int32_t* xmap = cols.Pos.data();
      for (int32_t x = from; x < to; ++x) d[x] = s[xmap[x]];
    }
  };

  auto draw = [&](const TRect& c) {
    const int32_t from = c.Left - area.Left, to = c.Right - area.Left;
    const size_t bytes = size_t(c.Width()) * sizeof(TPixel);
    const int32_t first = order < 0 ? c.Bottom - 1 : c.Top, last = order < 0 ? c.Top - 1 : c.Bottom;
    const int32_t step = order < 0 ? -1 : 1;
    for (int32_t y = first; y != last; y += step) {
      TPixel* d = dst.Row(y) + area.Left;
      const int32_t sr = rows.Pos[size_t(y - area.Top)];
      const int32_t prev = y - (order < 0 ? -1 : 1);
      if (y != first && sr == rows.Pos[size_t(prev - area.Top)]) {
        std::memcpy(d + from, dst.Row(prev) + area.Left + from, bytes);  // a repeated source row
        continue;
      }
      const TPixel* s = base + size_t(sr) * stride;
      // A scaled row reads only part of its source row, so the hardware's
      // stream prefetch loses the thread at every row; the next row's source
      // part is asked for while this one is drawn.
      if (!cols.Straight && y + step != last)
        FetchAhead(base + size_t(rows.Pos[size_t(y + step - area.Top)]) * stride, cols.Pos[size_t(from)],
                   cols.Pos[size_t(to - 1)]);
      if (!rowBuffer.empty()) {
        std::memcpy(rowBuffer.data(), s, rowBuffer.size() * sizeof(TPixel));
        s = rowBuffer.data();
      }
      drawRow(d, s, from, to);
    }
  };

  if (!dst.ClipRegion()) {
    draw(area);
    return;
  }
  const TRegion visible = VisiblePart(dst, area);
  for (const TRect& c : visible.Rects()) draw(c);
}

void SetClip(TBitmap32& bitmap, const TRegion* region) {
  bitmap.SetClipRegion(region ? std::make_shared<const TRegion>(*region) : nullptr);
}

void ExcludeClip(TBitmap32& bitmap, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  const TRegion current = bitmap.ClipRegion() ? *bitmap.ClipRegion() : TRegion(bitmap.BoundsRect());
  auto clip = std::make_shared<TRegion>();
  const TRegion cut = RectRegion(left, top, right, bottom);
  if (!pixman_region32_subtract(clip->Handle(), current.Handle(), cut.Handle())) throw std::bad_alloc();
  bitmap.SetClipRegion(std::move(clip));
}

}  // namespace kx
