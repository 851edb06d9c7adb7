#include "raster/uResample.h"

#include <pixman.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <numbers>
#include <vector>

#include "raster/uResampleKernels.h"

namespace kx {
namespace {

constexpr int32_t kOne = kResampleOne;
constexpr double kLobes = 3.0;

double Sinc(double x) {
  if (x == 0.0) return 1.0;
  const double px = std::numbers::pi * x;
  return std::sin(px) / px;
}

double Lanczos3(double x) { return std::abs(x) < kLobes ? Sinc(x) * Sinc(x / kLobes) : 0.0; }

// For each destination index, Count source indices (clamped to the edge) and
// their Q14 weights summing to exactly 1.0. First holds each index's first
// source index before clamping: the taps run from there, one pixel apart.
struct TTaps {
  int Count = 0;
  std::vector<int32_t> First;
  std::vector<int32_t> Index;
  std::vector<int32_t> Weight;
};

TTaps MakeTaps(int32_t srcSize, int32_t dstSize) {
  const double scale = double(srcSize) / dstSize;
  const double stretch = std::max(scale, 1.0);  // widen the filter when shrinking
  const double support = kLobes * stretch;
  TTaps t;
  t.Count = int(std::ceil(support)) * 2 + 1;
  t.First.resize(size_t(dstSize));
  t.Index.resize(size_t(t.Count) * size_t(dstSize));
  t.Weight.resize(t.Index.size());
  std::vector<double> w(size_t(t.Count));
  for (int32_t i = 0; i < dstSize; ++i) {
    const double center = (i + 0.5) * scale - 0.5;
    const auto first = int32_t(std::floor(center)) - t.Count / 2;
    t.First[size_t(i)] = first;
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

inline uint8_t Clamp8(int32_t acc) { return ResampleRound(acc); }

// The plain loops below are the reference: the vector loops must give the
// same bytes, and take over only where every weight fits in 16 bits.

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

bool FitsIn16Bits(const TTaps& t) {
  return std::all_of(t.Weight.begin(), t.Weight.end(), [](int32_t w) { return w >= INT16_MIN && w <= INT16_MAX; });
}

// Horizontal pass with vector loops: the weights regrouped into fours (the
// last group filled up with zero weights), each source row copied between
// repeats of its edge pixels so that unclamped indices read what the clamped
// ones would.
void ResampleRowsWith(TRowKernel kernel, const TBitmap32& src, TBitmap32& dst, const TTaps& taps) {
  const int n = taps.Count;
  const int groups = (n + 3) / 4;
  const int32_t width = dst.Width();
  std::vector<int32_t> pairs(size_t(width) * size_t(groups) * 2);
  for (int32_t x = 0; x < width; ++x) {
    const int32_t* w = &taps.Weight[size_t(x) * size_t(n)];
    const auto tap = [&](int k) { return k < n ? w[k] : 0; };
    int32_t* out = &pairs[size_t(x) * size_t(groups) * 2];
    for (int g = 0; g < groups; ++g) {
      out[2 * g] = PackWeights(tap(4 * g), tap(4 * g + 2));
      out[2 * g + 1] = PackWeights(tap(4 * g + 1), tap(4 * g + 3));
    }
  }
  const auto [lowest, highest] = std::minmax_element(taps.First.begin(), taps.First.end());
  const int32_t padLeft = std::max(0, -*lowest);
  const int32_t padRight = std::max(0, *highest + groups * 4 - src.Width());
  std::vector<TPixel> line(size_t(padLeft) + size_t(src.Width()) + size_t(padRight));
  const TRowFilter filter{width, groups, taps.First.data(), pairs.data()};
  for (int32_t y = 0; y < src.Height(); ++y) {
    const TPixel* in = src.Row(y);
    std::fill_n(line.begin(), padLeft, in[0]);
    std::copy_n(in, src.Width(), line.begin() + padLeft);
    std::fill_n(line.begin() + padLeft + src.Width(), padRight, in[src.Width() - 1]);
    kernel(line.data() + padLeft, dst.Row(y), filter);
  }
}

// Vertical pass with vector loops: the rows of non-zero weight taken two at a
// time (an odd one out paired with a zero weight).
void ResampleColumnsWith(TColumnKernel kernel, const TBitmap32& src, TBitmap32& dst, const TTaps& taps) {
  const int n = taps.Count;
  std::vector<const uint8_t*> rows(size_t(n) + 1);
  std::vector<int32_t> weights(size_t(n) + 1), pairs(size_t(n) / 2 + 1);
  for (int32_t y = 0; y < dst.Height(); ++y) {
    size_t used = 0;
    for (int k = 0; k < n; ++k) {
      const int32_t w = taps.Weight[size_t(y) * size_t(n) + size_t(k)];
      if (w == 0) continue;
      rows[used] = reinterpret_cast<const uint8_t*>(src.Row(taps.Index[size_t(y) * size_t(n) + size_t(k)]));
      weights[used++] = w;
    }
    if (used % 2) {
      rows[used] = rows[0];
      weights[used++] = 0;
    }
    for (size_t p = 0; p < used / 2; ++p) pairs[p] = PackWeights(weights[2 * p], weights[2 * p + 1]);
    kernel(rows.data(), pairs.data(), int(used / 2), reinterpret_cast<uint8_t*>(dst.Row(y)), dst.StrideBytes());
  }
}

// The loops of each path; null where the scalar ones serve.
struct TPathKernels {
  TRowKernel Row;
  TColumnKernel Column;
};

#if defined(__SSE2__)
constexpr TPathKernels kSse2Kernels{ResampleRowSse2, ResampleColumnSse2};
#else
constexpr TPathKernels kSse2Kernels{nullptr, nullptr};
#endif
#if defined(__x86_64__) || defined(__i386__)
constexpr TPathKernels kAvx2Kernels{ResampleRowAvx2, ResampleColumnAvx2};
#else
constexpr TPathKernels kAvx2Kernels{nullptr, nullptr};
#endif

constexpr TPathKernels kPathKernels[] = {{nullptr, nullptr}, kSse2Kernels, kAvx2Kernels};

using TPixmanImage = std::unique_ptr<pixman_image_t, pixman_bool_t (*)(pixman_image_t*)>;

// pixman only reads a source image, but its constructor takes writable bits.
TPixmanImage WrapBits(const TBitmap32& b) {
  return TPixmanImage(pixman_image_create_bits(PIXMAN_a8r8g8b8, b.Width(), b.Height(),
                                               const_cast<TPixel*>(b.Bits()), int(b.StrideBytes())),
                      pixman_image_unref);
}

}  // namespace

bool ResamplePathAvailable(TResamplePath path) {
  switch (path) {
    case TResamplePath::Scalar:
      return true;
    case TResamplePath::Sse2:
#if defined(__SSE2__)
      return true;
#else
      return false;
#endif
    case TResamplePath::Avx2:
#if defined(__x86_64__) || defined(__i386__)
      return __builtin_cpu_supports("avx2");
#else
      return false;
#endif
  }
  return false;
}

TResamplePath BestResamplePath() {
  static const TResamplePath best = ResamplePathAvailable(TResamplePath::Avx2)   ? TResamplePath::Avx2
                                    : ResamplePathAvailable(TResamplePath::Sse2) ? TResamplePath::Sse2
                                                                                 : TResamplePath::Scalar;
  return best;
}

void ResampleLanczos3On(TResamplePath path, const TBitmap32& src, TBitmap32& dst) {
  if (src.Empty() || dst.Empty()) return;
  if (src.Width() == dst.Width() && src.Height() == dst.Height()) {
    std::memcpy(dst.Bits(), src.Bits(), src.StrideBytes() * size_t(src.Height()));
    return;
  }
  const TPathKernels& kernels = kPathKernels[size_t(path)];
  const TTaps across = MakeTaps(src.Width(), dst.Width());
  TBitmap32 rows(dst.Width(), src.Height());
  if (kernels.Row && FitsIn16Bits(across))
    ResampleRowsWith(kernels.Row, src, rows, across);
  else
    ResampleRows(src, rows, across);
  const TTaps down = MakeTaps(src.Height(), dst.Height());
  if (kernels.Column && FitsIn16Bits(down))
    ResampleColumnsWith(kernels.Column, rows, dst, down);
  else
    ResampleColumns(rows, dst, down);
}

void ResampleLanczos3(const TBitmap32& src, TBitmap32& dst) { ResampleLanczos3On(BestResamplePath(), src, dst); }

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
