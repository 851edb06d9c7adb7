#include "raster/uBlend.h"

#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <vector>

namespace kx {
namespace {

// t / 255 rounded to the nearest integer, for 0 <= t <= 255 * 255.
inline uint32_t Div255(uint32_t t) {
  t += 128;
  return (t + (t >> 8)) >> 8;
}

inline TPixel Mix(TPixel p, TPixel colour, uint32_t alpha) {
  const uint32_t keep = 255 - alpha;
  const uint32_t r = Div255(PixelR(colour) * alpha + PixelR(p) * keep);
  const uint32_t g = Div255(PixelG(colour) * alpha + PixelG(p) * keep);
  const uint32_t b = Div255(PixelB(colour) * alpha + PixelB(p) * keep);
  return (p & 0xFF000000u) | r << 16 | g << 8 | b;
}

// Offset of step i of n along an axis that moves d in all: i * |d| / n
// rounded, halves away from the start, with the sign of d.
inline int64_t Along(int64_t i, int64_t d, int64_t n) {
  const auto ad = __int128(d < 0 ? -d : d);
  const auto v = int64_t((2 * __int128(i) * ad + n) / (2 * __int128(n)));
  return d < 0 ? -v : v;
}

struct TPixmanImage {
  void operator()(pixman_image_t* image) const { pixman_image_unref(image); }
};

}  // namespace

void BlendPixel(TBitmap32& dst, int32_t x, int32_t y, TPixel colour, uint8_t alpha) {
  if (x < 0 || y < 0 || x >= dst.Width() || y >= dst.Height()) return;
  TPixel& p = dst.Row(y)[x];
  p = Mix(p, colour, alpha);
}

void BlendLine(TBitmap32& dst, int64_t x0, int64_t y0, int64_t x1, int64_t y1, TPixel colour, uint8_t alpha) {
  // Ends are clamped to +-2^40, far beyond any bitmap, which keeps the
  // arithmetic below in range.
  constexpr int64_t kFar = int64_t(1) << 40;
  x0 = std::clamp(x0, -kFar, kFar), y0 = std::clamp(y0, -kFar, kFar);
  x1 = std::clamp(x1, -kFar, kFar), y1 = std::clamp(y1, -kFar, kFar);
  const int64_t dx = x1 - x0, dy = y1 - y0;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const int64_t n = xMajor ? std::llabs(dx) : std::llabs(dy);
  if (n == 0) return;
  // The steps whose major coordinate lies inside the bitmap: [lo, hi).
  const int64_t start = xMajor ? x0 : y0, dir = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int64_t limit = xMajor ? dst.Width() : dst.Height();
  int64_t lo = dir > 0 ? -start : start - (limit - 1);
  int64_t hi = dir > 0 ? limit - start : start + 1;
  lo = std::max<int64_t>(lo, 0);
  hi = std::min<int64_t>(hi, n);
  for (int64_t i = lo; i < hi; ++i) {
    const int64_t major = start + dir * i;
    const int64_t minor = (xMajor ? y0 : x0) + Along(i, xMajor ? dy : dx, n);
    const int64_t x = xMajor ? major : minor, y = xMajor ? minor : major;
    if (x >= 0 && y >= 0 && x < dst.Width() && y < dst.Height()) {
      TPixel& p = dst.Row(int32_t(y))[x];
      p = Mix(p, colour, alpha);
    }
  }
}

void BlendPolygon(TBitmap32& dst, std::span<const TPointF> points, TPixel colour, uint8_t alpha) {
  if (points.size() < 3 || points.size() > 8 || dst.Empty() || alpha == 0) return;
  // Pixel centres sit at half units in pixman's space.
  double left = points[0].X, right = left, top = points[0].Y, bottom = top;
  for (const TPointF& p : points) {
    if (!std::isfinite(p.X) || !std::isfinite(p.Y)) return;
    left = std::min(left, p.X), right = std::max(right, p.X);
    top = std::min(top, p.Y), bottom = std::max(bottom, p.Y);
  }
  const int64_t x0 = std::max<int64_t>(int64_t(std::floor(std::max(left, -1e9) + 0.5)), 0);
  const int64_t y0 = std::max<int64_t>(int64_t(std::floor(std::max(top, -1e9) + 0.5)), 0);
  const int64_t x1 = std::min<int64_t>(int64_t(std::ceil(std::min(right, 1e9) + 0.5)), dst.Width());
  const int64_t y1 = std::min<int64_t>(int64_t(std::ceil(std::min(bottom, 1e9) + 0.5)), dst.Height());
  if (x0 >= x1 || y0 >= y1) return;
  // pixman's 16.16 coordinates reach +-32767: the points are taken relative
  // to the box, and a polygon reaching further than that is not drawn.
  for (const TPointF& p : points)
    if (std::fabs(p.X - double(x0)) > 30000 || std::fabs(p.Y - double(y0)) > 30000) return;

  const auto w = int32_t(x1 - x0), h = int32_t(y1 - y0);
  const int32_t stride = (w + 3) / 4 * 4;
  thread_local std::vector<uint32_t> mask;
  mask.assign(size_t(stride / 4) * size_t(h), 0);
  const std::unique_ptr<pixman_image_t, TPixmanImage> image(
      pixman_image_create_bits(PIXMAN_a8, w, h, mask.data(), stride));
  if (!image) throw std::bad_alloc();
  const auto fixed = [&](const TPointF& p) {
    return pixman_point_fixed_t{pixman_double_to_fixed(p.X + 0.5 - double(x0)),
                                pixman_double_to_fixed(p.Y + 0.5 - double(y0))};
  };
  // A fan of triangles from the first point covers a convex polygon once.
  pixman_triangle_t tris[6];
  int n = 0;
  for (size_t i = 1; i + 1 < points.size(); ++i) tris[n++] = {fixed(points[0]), fixed(points[i]), fixed(points[i + 1])};
  pixman_add_triangles(image.get(), 0, 0, n, tris);

  const auto* cover = reinterpret_cast<const uint8_t*>(mask.data());
  for (int32_t y = 0; y < h; ++y) {
    TPixel* row = dst.Row(int32_t(y0) + y) + x0;
    const uint8_t* m = cover + size_t(y) * size_t(stride);
    for (int32_t x = 0; x < w; ++x)
      if (m[x]) row[x] = Mix(row[x], colour, Div255(uint32_t(alpha) * m[x]));
  }
}

}  // namespace kx
