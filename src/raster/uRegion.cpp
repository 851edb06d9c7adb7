#include "raster/uRegion.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <new>
#include <stdexcept>
#include <vector>

#include "raster/uBitmap.h"

namespace kx {

static_assert(sizeof(TRect) == sizeof(pixman_box32_t) && offsetof(TRect, Left) == offsetof(pixman_box32_t, x1) &&
                  offsetof(TRect, Top) == offsetof(pixman_box32_t, y1) &&
                  offsetof(TRect, Right) == offsetof(pixman_box32_t, x2) &&
                  offsetof(TRect, Bottom) == offsetof(pixman_box32_t, y2),
              "TRect must share pixman_box32_t's layout");

namespace {

// Scan conversion works within this range of rows and columns.
constexpr int32_t kScanMin = -2 * TBitmap32::kMaxSide;
constexpr int32_t kScanMax = 3 * TBitmap32::kMaxSide;

int32_t ClampScan(double v) { return int32_t(std::clamp(v, double(kScanMin), double(kScanMax))); }

void Check(pixman_bool_t ok) {
  if (!ok) throw std::bad_alloc();
}

// First pixel whose centre lies at or right of the edge x = e.
int32_t FirstCentreAtOrAfter(double e) { return ClampScan(std::ceil(e - 0.5)); }

}  // namespace

TRegion::TRegion() { pixman_region32_init(&m_region); }

TRegion::TRegion(const TRect& r) {
  if (r.Empty()) pixman_region32_init(&m_region);
  else pixman_region32_init_rect(&m_region, r.Left, r.Top, uint32_t(r.Width()), uint32_t(r.Height()));
}

TRegion::TRegion(const TRegion& o) {
  pixman_region32_init(&m_region);
  Check(pixman_region32_copy(&m_region, &o.m_region));
}

TRegion::TRegion(TRegion&& o) noexcept : m_region(o.m_region) { pixman_region32_init(&o.m_region); }

TRegion& TRegion::operator=(const TRegion& o) {
  if (this != &o) Check(pixman_region32_copy(&m_region, &o.m_region));
  return *this;
}

TRegion& TRegion::operator=(TRegion&& o) noexcept {
  if (this != &o) {
    pixman_region32_fini(&m_region);
    m_region = o.m_region;
    pixman_region32_init(&o.m_region);
  }
  return *this;
}

TRegion::~TRegion() { pixman_region32_fini(&m_region); }

TRegion TRegion::FromRects(std::span<const TRect> rects) {
  TRegion r;
  pixman_region32_fini(&r.m_region);
  // pixman drops the empty and inverted rectangles itself.
  if (!pixman_region32_init_rects(&r.m_region, reinterpret_cast<const pixman_box32_t*>(rects.data()),
                                  int(rects.size()))) {
    pixman_region32_init(&r.m_region);
    throw std::bad_alloc();
  }
  return r;
}

bool TRegion::Empty() const { return !pixman_region32_not_empty(&m_region); }

TRect TRegion::Bounds() const {
  if (Empty()) return {};
  const pixman_box32_t* b = pixman_region32_extents(&m_region);
  return {b->x1, b->y1, b->x2, b->y2};
}

bool TRegion::Contains(int32_t x, int32_t y) const {
  return pixman_region32_contains_point(&m_region, x, y, nullptr);
}

std::span<const TRect> TRegion::Rects() const {
  int n = 0;
  const pixman_box32_t* boxes = pixman_region32_rectangles(&m_region, &n);
  if (n == 0) return {};
  return {reinterpret_cast<const TRect*>(boxes), size_t(n)};
}

int64_t TRegion::Area() const {
  int64_t area = 0;
  for (const TRect& r : Rects()) area += int64_t(r.Width()) * r.Height();
  return area;
}

bool operator==(const TRegion& a, const TRegion& b) {
  const auto ra = a.Rects(), rb = b.Rects();
  return std::equal(ra.begin(), ra.end(), rb.begin(), rb.end());
}

TRegion RectRegion(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return TRegion(TRect{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)});
}

TRegion RoundRectRegion(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t ew, int32_t eh) {
  const TRect box{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
  if (box.Empty()) return {};
  const int64_t w = int64_t(box.Right) - box.Left, h = int64_t(box.Bottom) - box.Top;
  if (ew <= 0 || eh <= 0) return TRegion(box);
  const double a = double(std::min<int64_t>(ew, w)) / 2, b = double(std::min<int64_t>(eh, h)) / 2;

  const int32_t y0 = std::max(box.Top, kScanMin), y1 = std::min(box.Bottom, kScanMax);
  std::vector<TRect> spans;
  spans.reserve(size_t(std::max(0, y1 - y0)));
  for (int32_t y = y0; y < y1; ++y) {
    const double yc = y + 0.5;
    const double edge = std::min(yc - box.Top, box.Bottom - yc);  // distance to the nearer of top and bottom
    double inset = 0;
    if (edge < b) {
      const double t = (b - edge) / b;
      inset = a - a * std::sqrt(std::max(0.0, 1 - t * t));
    }
    // Columns whose centre lies within [left + inset, right - inset]; the same
    // count is cut from both ends so the shape stays symmetric.
    const int64_t cut = std::max<int64_t>(0, int64_t(std::ceil(inset - 0.5)));
    const int64_t l = std::max<int64_t>(int64_t(box.Left) + cut, kScanMin);
    const int64_t r = std::min<int64_t>(int64_t(box.Right) - cut, kScanMax);
    if (l < r) spans.push_back({int32_t(l), y, int32_t(r), y + 1});
  }
  return TRegion::FromRects(spans);
}

TRegion EllipseRegion(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  const int64_t w = std::abs(int64_t(right) - left), h = std::abs(int64_t(bottom) - top);
  if (w == 0 || h == 0) return {};
  return RoundRectRegion(left, top, right, bottom, int32_t(std::min<int64_t>(w, INT32_MAX)),
                         int32_t(std::min<int64_t>(h, INT32_MAX)));
}

TRegion PolygonRegion(std::span<const TPoint> points) {
  if (points.size() < 3) return {};
  int32_t top = points[0].Y, bottom = points[0].Y;
  for (const TPoint& p : points) {
    top = std::min(top, p.Y);
    bottom = std::max(bottom, p.Y);
  }
  top = std::max(top, kScanMin);
  bottom = std::min(bottom, kScanMax);

  struct TCrossing {
    double X;
    int Dir;
  };
  std::vector<TCrossing> crossings;
  std::vector<TRect> spans;
  for (int32_t y = top; y < bottom; ++y) {
    const double yc = y + 0.5;
    crossings.clear();
    for (size_t i = 0; i < points.size(); ++i) {
      const TPoint p = points[i], q = points[(i + 1) % points.size()];
      if (p.Y == q.Y) continue;
      const bool down = q.Y > p.Y;
      const double ylo = down ? p.Y : q.Y, yhi = down ? q.Y : p.Y;
      if (yc < ylo || yc >= yhi) continue;
      const double x = p.X + (yc - p.Y) * (double(q.X) - p.X) / (double(q.Y) - p.Y);
      crossings.push_back({x, down ? 1 : -1});
    }
    std::sort(crossings.begin(), crossings.end(), [](const TCrossing& a, const TCrossing& b) { return a.X < b.X; });
    int winding = 0;
    double start = 0;
    for (const TCrossing& c : crossings) {
      const int before = winding;
      winding += c.Dir;
      if (before == 0 && winding != 0) {
        start = c.X;
      } else if (before != 0 && winding == 0) {
        const int32_t l = FirstCentreAtOrAfter(start), r = FirstCentreAtOrAfter(c.X);
        if (l < r) spans.push_back({l, y, r, y + 1});
      }
    }
  }
  return TRegion::FromRects(spans);
}

void CombineRegions(TRegion& target, const TRegion& a, const TRegion& b, TCombineMode mode) {
  switch (mode) {
    case TCombineMode::And:
      Check(pixman_region32_intersect(target.Handle(), a.Handle(), b.Handle()));
      return;
    case TCombineMode::Or:
      Check(pixman_region32_union(target.Handle(), a.Handle(), b.Handle()));
      return;
    case TCombineMode::Xor: {
      // pixman has no exclusive or: (a - b) + (b - a).
      TRegion aOnly, bOnly;
      Check(pixman_region32_subtract(aOnly.Handle(), a.Handle(), b.Handle()));
      Check(pixman_region32_subtract(bOnly.Handle(), b.Handle(), a.Handle()));
      Check(pixman_region32_union(target.Handle(), aOnly.Handle(), bOnly.Handle()));
      return;
    }
  }
  throw std::invalid_argument("unknown region combine mode");
}

}  // namespace kx
