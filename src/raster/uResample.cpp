#include "raster/uResample.h"

#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <numbers>
#include <vector>

namespace kx {
namespace {

constexpr int kShift = 14;  // weights are Q14: 16384 is 1.0
constexpr int32_t kOne = 1 << kShift;
constexpr double kLobes = 3.0;

double Sinc(double x) {
  if (x == 0.0) return 1.0;
  const double px = std::numbers::pi * x;
  return std::sin(px) / px;
}

double Lanczos3(double x) { return std::abs(x) < kLobes ? Sinc(x) * Sinc(x / kLobes) : 0.0; }

// For each destination index, Count source indices (clamped to the edge) and
// their Q14 weights summing to exactly 1.0.
struct TTaps {
  int Count = 0;
  std::vector<int32_t> Index;
  std::vector<int32_t> Weight;
};

TTaps MakeTaps(int32_t srcSize, int32_t dstSize) {
  const double scale = double(srcSize) / dstSize;
  const double stretch = std::max(scale, 1.0);  // widen the filter when shrinking
  const double support = kLobes * stretch;
  TTaps t;
  t.Count = int(std::ceil(support)) * 2 + 1;
  t.Index.resize(size_t(t.Count) * size_t(dstSize));
  t.Weight.resize(t.Index.size());
  std::vector<double> w(size_t(t.Count));
  for (int32_t i = 0; i < dstSize; ++i) {
    const double center = (i + 0.5) * scale - 0.5;
    const auto first = int32_t(std::floor(center)) - t.Count / 2;
    double sum = 0;
    for (int k = 0; k < t.Count; ++k) sum += w[size_t(k)] = Lanczos3((first + k - center) / stretch);
    int32_t* idx = &t.Index[size_t(i) * size_t(t.Count)];
    int32_t* q = &t.Weight[size_t(i) * size_t(t.Count)];
    int32_t total = 0, heaviest = 0;
    for (int k = 0; k < t.Count; ++k) {
      idx[k] = std::clamp(first + k, 0, srcSize - 1);
      q[k] = int32_t(std::lround(w[size_t(k)] / sum * kOne));
      total += q[k];
      if (q[k] > q[heaviest]) heaviest = k;
    }
    q[heaviest] += kOne - total;  // rounding must not change the brightness
  }
  return t;
}

inline uint8_t Clamp8(int32_t acc) { return uint8_t(std::clamp((acc + kOne / 2) >> kShift, 0, 255)); }

// Horizontal pass: each destination row from the same source row.
void ResampleRows(const TBitmap32& src, TBitmap32& dst, const TTaps& taps) {
  const int n = taps.Count;
  for (int32_t y = 0; y < src.Height(); ++y) {
    const auto* in = reinterpret_cast<const uint8_t*>(src.Row(y));
    auto* out = reinterpret_cast<uint8_t*>(dst.Row(y));
    for (int32_t x = 0; x < dst.Width(); ++x) {
      const int32_t* idx = &taps.Index[size_t(x) * size_t(n)];
      const int32_t* w = &taps.Weight[size_t(x) * size_t(n)];
      int32_t acc[4] = {0, 0, 0, 0};
      for (int k = 0; k < n; ++k) {
        const uint8_t* p = in + size_t(idx[k]) * 4;
        for (int c = 0; c < 4; ++c) acc[c] += w[k] * p[c];
      }
      for (int c = 0; c < 4; ++c) out[size_t(x) * 4 + size_t(c)] = Clamp8(acc[c]);
    }
  }
}

// Vertical pass: each destination row as a weighted sum of whole source rows,
// so the inner loop runs along a row.
void ResampleColumns(const TBitmap32& src, TBitmap32& dst, const TTaps& taps) {
  const int n = taps.Count;
  const size_t values = size_t(dst.Width()) * 4;
  std::vector<int32_t> acc(values);
  for (int32_t y = 0; y < dst.Height(); ++y) {
    std::fill(acc.begin(), acc.end(), 0);
    for (int k = 0; k < n; ++k) {
      const int32_t w = taps.Weight[size_t(y) * size_t(n) + size_t(k)];
      if (w == 0) continue;
      const auto* in = reinterpret_cast<const uint8_t*>(src.Row(taps.Index[size_t(y) * size_t(n) + size_t(k)]));
      int32_t* a = acc.data();
      for (size_t i = 0; i < values; ++i) a[i] += w * in[i];
    }
    auto* out = reinterpret_cast<uint8_t*>(dst.Row(y));
    for (size_t i = 0; i < values; ++i) out[i] = Clamp8(acc[i]);
  }
}

using TPixmanImage = std::unique_ptr<pixman_image_t, pixman_bool_t (*)(pixman_image_t*)>;

// pixman only reads a source image, but its constructor takes writable bits.
TPixmanImage WrapBits(const TBitmap32& b) {
  return TPixmanImage(pixman_image_create_bits(PIXMAN_a8r8g8b8, b.Width(), b.Height(),
                                               const_cast<TPixel*>(b.Bits()), int(b.StrideBytes())),
                      pixman_image_unref);
}

}  // namespace

void ResampleLanczos3(const TBitmap32& src, TBitmap32& dst) {
  if (src.Empty() || dst.Empty()) return;
  if (src.Width() == dst.Width() && src.Height() == dst.Height()) {
    std::memcpy(dst.Bits(), src.Bits(), src.StrideBytes() * size_t(src.Height()));
    return;
  }
  TBitmap32 rows(dst.Width(), src.Height());
  ResampleRows(src, rows, MakeTaps(src.Width(), dst.Width()));
  ResampleColumns(rows, dst, MakeTaps(src.Height(), dst.Height()));
}

TBitmap32 ResizeBilinear(const TBitmap32& src, int32_t width, int32_t height) {
  if (src.Empty() || width <= 0 || height <= 0) return {};
  TBitmap32 dst(width, height);
  if (width == src.Width() && height == src.Height()) {
    dst.Draw(0, 0, src);
    return dst;
  }
  TPixmanImage s = WrapBits(src), d = WrapBits(dst);
  if (!s || !d) throw std::bad_alloc();
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(double(src.Width()) / width),
                              pixman_double_to_fixed(double(src.Height()) / height));
  pixman_image_set_transform(s.get(), &t);
  pixman_image_set_filter(s.get(), PIXMAN_FILTER_BILINEAR, nullptr, 0);
  pixman_image_set_repeat(s.get(), PIXMAN_REPEAT_PAD);
  pixman_image_composite32(PIXMAN_OP_SRC, s.get(), nullptr, d.get(), 0, 0, 0, 0, 0, 0, width, height);
  return dst;
}

}  // namespace kx
