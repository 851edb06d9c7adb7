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

void Check(pixman_bool_t ok) {
  if (!ok) throw std::bad_alloc();
}

// The first column at or right of the point where the edge from p to q
// crosses the row y, which lies within the edge's rows (p.Y != q.Y): the
// crossing is a fraction, rounded up exactly in 128-bit integers.
int32_t FirstColumnAtOrAfterCrossing(TPoint p, TPoint q, int32_t y) {
  __int128 num = __int128(int64_t(y) - p.Y) * (int64_t(q.X) - p.X), den = int64_t(q.Y) - p.Y;
  if (den < 0) {
    num = -num;
    den = -den;
  }
  __int128 steps = num / den;  // towards zero; up one more for a positive remainder
  if (num % den != 0 && num > 0) ++steps;
  const __int128 x = std::clamp<__int128>(p.X + steps, kScanMin, kScanMax);
  return int32_t(x);
}

// One row of a rounded rectangle whose corner arcs are quarters of an
// ellipse with semi-axes a and b, each centred a and b inside its corner of
// the box. Lengths are given doubled, so that they are whole numbers: A = 2a,
// B = 2b, and D = 2dy, dy being the row centre's vertical distance beyond the
// arcs' centres (0 for rows between them; always below b).
class TCornerRow {
 public:
  TCornerRow(int64_t A, int64_t B, int64_t D) : m_a(A), m_b(B), m_d(D) {}

  // Columns cut from each end of the row: those whose centre lies outside
  // the arc. The same count is cut at both ends, so the shape stays
  // symmetric; a centre exactly on the arc is inside.
  int64_t Cut() const {
    const double t = double(m_d) / double(m_b);
    const double inset = (double(m_a) - double(m_a) * std::sqrt(std::max(0.0, 1 - t * t))) / 2;
    int64_t cut = std::max<int64_t>(0, int64_t(std::ceil(inset - 0.5)));
    if (m_a > kExactMax || m_b > kExactMax) return cut;
    // The estimate is off by at most one column where the arc passes close
    // to a pixel centre; the exact test settles it.
    while (cut > 0 && Inside(cut - 1)) --cut;
    while (!Inside(cut)) ++cut;
    return cut;
  }

 private:
  // Up to this size the exact test fits 128-bit integers.
  static constexpr int64_t kExactMax = int64_t(1) << 31;

  // Whether the centre of the k-th column from the box's side lies within
  // the arc: with u = a - (k + 1/2) its distance beyond the arc's centre,
  // u <= 0 or (u/a)^2 + (dy/b)^2 <= 1, here in doubled whole numbers.
  bool Inside(int64_t k) const {
    const __int128 u = m_a - 2 * k - 1;
    if (u <= 0) return true;
    const __int128 a2 = __int128(m_a) * m_a, b2 = __int128(m_b) * m_b, d2 = __int128(m_d) * m_d;
    return u * u * b2 <= a2 * (b2 - d2);
  }

  int64_t m_a, m_b, m_d;
};

}  // namespace

TRegion::TRegion() { pixman_region32_init(&m_region); }

TRegion::TRegion(const TRect& r) {
  // From the corners, not the size: the width of a rectangle spanning most of
  // the coordinate range does not fit 32 bits.
  const pixman_box32_t box{r.Left, r.Top, r.Right, r.Bottom};
  if (r.Empty()) pixman_region32_init(&m_region);
  else pixman_region32_init_with_extents(&m_region, &box);
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
  // The shape lies in the box without its right column and bottom row.
  const int32_t l = std::min(left, right), t = std::min(top, bottom);
  const int64_t w = int64_t(std::max(left, right)) - 1 - l, h = int64_t(std::max(top, bottom)) - 1 - t;
  if (w <= 0 || h <= 0) return {};
  const int32_t r = int32_t(l + w), b = int32_t(t + h);
  if (std::min<int64_t>(ew, w) <= 2 || std::min<int64_t>(eh, h) <= 2) return TRegion(TRect{l, t, r, b});
  // The arcs are those of an ellipse one pixel wider and higher than the
  // corner asked for, limited to the box: a corner as large as the box, or one
  // pixel smaller, gives the ellipse inscribed in it. A and B are its width
  // and height, twice the semi-axes.
  const int64_t A = std::min<int64_t>(int64_t(ew) + 1, w), B = std::min<int64_t>(int64_t(eh) + 1, h);

  const int32_t y0 = std::max(t, kScanMin), y1 = std::min(b, kScanMax);
  std::vector<TRect> spans;
  spans.reserve(size_t(std::max(0, y1 - y0)));
  for (int32_t y = y0; y < y1; ++y) {
    // Doubled distances from the box's top: the row's centre, and the centres
    // of the top and bottom arcs.
    const int64_t yc = 2 * (int64_t(y) - t) + 1, arcTop = B, arcBottom = 2 * h - B;
    const int64_t cut = TCornerRow(A, B, std::max({int64_t(0), arcTop - yc, yc - arcBottom})).Cut();
    const int64_t sl = std::max<int64_t>(int64_t(l) + cut, kScanMin);
    const int64_t sr = std::min<int64_t>(int64_t(r) - cut, kScanMax);
    if (sl < sr) spans.push_back({int32_t(sl), y, int32_t(sr), y + 1});
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

  // Each pixel is sampled at its corner (x, y). An edge counts on the rows
  // from its upper end down to, not including, its lower end, and a crossing
  // at x covers the columns from the first one at or right of it: a sample
  // exactly on a left or top edge is inside, on a right or bottom edge
  // outside. Whether a column is wound around then depends only on the
  // crossings' rounded-up columns, so those are what is sorted.
  struct TCrossing {
    int32_t Column;
    int Dir;
  };
  std::vector<TCrossing> crossings;
  std::vector<TRect> spans;
  for (int32_t y = top; y < bottom; ++y) {
    crossings.clear();
    for (size_t i = 0; i < points.size(); ++i) {
      const TPoint p = points[i], q = points[(i + 1) % points.size()];
      if (p.Y == q.Y) continue;
      const bool down = q.Y > p.Y;
      if (y < std::min(p.Y, q.Y) || y >= std::max(p.Y, q.Y)) continue;
      crossings.push_back({FirstColumnAtOrAfterCrossing(p, q, y), down ? 1 : -1});
    }
    std::sort(crossings.begin(), crossings.end(),
              [](const TCrossing& a, const TCrossing& b) { return a.Column < b.Column; });
    int winding = 0;
    int32_t start = 0;
    for (const TCrossing& c : crossings) {
      const int before = winding;
      winding += c.Dir;
      if (before == 0 && winding != 0) {
        start = c.Column;
      } else if (before != 0 && winding == 0) {
        if (start < c.Column) spans.push_back({start, y, c.Column, y + 1});
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
