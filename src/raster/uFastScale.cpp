#include "raster/uFastScale.h"

#include <algorithm>
#include <vector>

namespace kx {
namespace {

constexpr int32_t kOne = 1 << 14;  // weights of one destination pixel sum to this

// The source taps of every destination index along one axis.
struct TTaps {
  std::vector<uint32_t> Start;   // first tap of index d: Weights[Start[d] .. Start[d + 1])
  std::vector<int32_t> Index;    // source index of each tap
  std::vector<int32_t> Weight;   // its weight
};

// Block averaging: destination d covers source [d * sn / dn, (d + 1) * sn / dn);
// each source pixel weighs the part of it that is covered.
// Linear: destination centre (d + 0.5) * sn / dn - 0.5 between two neighbours.
TTaps MakeTaps(int32_t sn, int32_t dn) {
  TTaps t;
  t.Start.reserve(size_t(dn) + 1);
  const auto add = [&](int32_t index, int64_t weight) {
    t.Index.push_back(std::clamp(index, 0, sn - 1));
    t.Weight.push_back(int32_t(weight));
  };
  for (int32_t d = 0; d < dn; ++d) {
    t.Start.push_back(uint32_t(t.Index.size()));
    const size_t first = t.Index.size();
    if (dn < sn) {
      // In units of 1 / dn source pixels: [d * sn, (d + 1) * sn).
      const int64_t lo = int64_t(d) * sn, hi = lo + sn;
      for (int64_t s = lo / dn; s * dn < hi; ++s) {
        const int64_t cover = std::min(hi, (s + 1) * dn) - std::max(lo, s * dn);
        add(int32_t(s), cover * kOne / sn);
      }
    } else {
      // Centre in units of 1 / (2 dn): (2d + 1) sn - dn.
      const int64_t c = (2 * int64_t(d) + 1) * sn - dn;
      const int64_t s = c >= 0 ? c / (2 * int64_t(dn)) : -1;
      const int64_t frac = c >= 0 ? (c - s * 2 * dn) * kOne / (2 * int64_t(dn)) : 0;
      add(int32_t(s), kOne - frac);
      add(int32_t(s + 1), frac);
    }
    // Rounding leftovers go to the largest tap, so the weights sum to kOne.
    int64_t sum = 0;
    size_t big = first;
    for (size_t i = first; i < t.Weight.size(); ++i) {
      sum += t.Weight[i];
      if (t.Weight[i] > t.Weight[big]) big = i;
    }
    t.Weight[big] += int32_t(kOne - sum);
  }
  t.Start.push_back(uint32_t(t.Index.size()));
  return t;
}

inline TPixel Weighted(const TPixel* const* px, const int32_t* w, uint32_t n) {
  uint32_t acc[4] = {kOne / 2, kOne / 2, kOne / 2, kOne / 2};
  for (uint32_t i = 0; i < n; ++i) {
    const TPixel p = *px[i];
    const auto wi = uint32_t(w[i]);
    acc[0] += (p & 0xFF) * wi;
    acc[1] += (p >> 8 & 0xFF) * wi;
    acc[2] += (p >> 16 & 0xFF) * wi;
    acc[3] += (p >> 24) * wi;
  }
  return TPixel(acc[3] >> 14) << 24 | TPixel(acc[2] >> 14) << 16 | TPixel(acc[1] >> 14) << 8 | TPixel(acc[0] >> 14);
}

}  // namespace

TBitmap32 ScaleFast(const TBitmap32& src, int32_t width, int32_t height) {
  if (src.Empty() || width <= 0 || height <= 0) return {};
  if (width == src.Width() && height == src.Height()) return src;
  const TTaps tx = MakeTaps(src.Width(), width), ty = MakeTaps(src.Height(), height);
  // Rows first: src.Height() rows of the new width, then columns.
  TBitmap32 across(width, src.Height());
  std::vector<const TPixel*> taps;
  for (int32_t y = 0; y < src.Height(); ++y) {
    const TPixel* in = src.Row(y);
    TPixel* out = across.Row(y);
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t a = tx.Start[size_t(x)], n = tx.Start[size_t(x) + 1] - a;
      taps.resize(n);
      for (uint32_t i = 0; i < n; ++i) taps[i] = in + tx.Index[a + i];
      out[x] = Weighted(taps.data(), tx.Weight.data() + a, n);
    }
  }
  TBitmap32 result(width, height);
  for (int32_t y = 0; y < height; ++y) {
    const uint32_t a = ty.Start[size_t(y)], n = ty.Start[size_t(y) + 1] - a;
    TPixel* out = result.Row(y);
    for (int32_t x = 0; x < width; ++x) {
      taps.resize(n);
      for (uint32_t i = 0; i < n; ++i) taps[i] = across.Row(ty.Index[a + i]) + x;
      out[x] = Weighted(taps.data(), ty.Weight.data() + a, n);
    }
  }
  return result;
}

}  // namespace kx
