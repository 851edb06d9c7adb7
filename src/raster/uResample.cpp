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

// Horizontal pass on one row: each destination pixel from the same source row.
void ResampleRow(const TPixel* src, TPixel* dst, int32_t dstWidth, const TTaps& taps) {
  const int n = taps.Count;
  const auto* in = reinterpret_cast<const uint8_t*>(src);
  auto* out = reinterpret_cast<uint8_t*>(dst);
  for (int32_t x = 0; x < dstWidth; ++x) {
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

// Vertical pass on one destination row: a weighted sum of whole rows of the
// horizontal pass's output (row(i) gives row i), so the inner loop runs along a row.
template <class TRowOf>
void ResampleColumn(int32_t y, const TRowOf& row, TPixel* dst, size_t values, const TTaps& taps,
                    std::vector<int32_t>& acc) {
  const int n = taps.Count;
  std::fill(acc.begin(), acc.end(), 0);
  for (int k = 0; k < n; ++k) {
    const int32_t w = taps.Weight[size_t(y) * size_t(n) + size_t(k)];
    if (w == 0) continue;
    const auto* in = reinterpret_cast<const uint8_t*>(row(taps.Index[size_t(y) * size_t(n) + size_t(k)]));
    int32_t* a = acc.data();
    for (size_t i = 0; i < values; ++i) a[i] += w * in[i];
  }
  auto* out = reinterpret_cast<uint8_t*>(dst);
  for (size_t i = 0; i < values; ++i) out[i] = Clamp8(acc[i]);
}

bool FitsIn16Bits(const TTaps& t) {
  return std::all_of(t.Weight.begin(), t.Weight.end(), [](int32_t w) { return w >= INT16_MIN && w <= INT16_MAX; });
}

// The loops of each path; null where the scalar ones serve.
struct TPathKernels {
  TRowKernel Row;
  TColumnKernel Column;
  bool RowReadsWide;  // the row loop reads TRowFilter::Wide
};

#if defined(__SSE2__)
constexpr TPathKernels kSse2Kernels{ResampleRowSse2, ResampleColumnSse2, false};
#else
constexpr TPathKernels kSse2Kernels{nullptr, nullptr, false};
#endif
#if defined(__x86_64__) || defined(__i386__)
constexpr TPathKernels kAvx2Kernels{ResampleRowAvx2, ResampleColumnAvx2, true};
#else
constexpr TPathKernels kAvx2Kernels{nullptr, nullptr, false};
#endif

constexpr TPathKernels kPathKernels[] = {{nullptr, nullptr, false}, kSse2Kernels, kAvx2Kernels};

// The horizontal pass, row by row, with the plain loop or a vector one. For
// the vector loops the weights are regrouped into fours (the last group filled
// up with zero weights) and each source row is copied between repeats of its
// edge pixels, so that unclamped indices read what the clamped ones would.
class THorizontalPass {
 public:
  THorizontalPass(const TTaps& taps, int32_t srcWidth, int32_t dstWidth, const TPathKernels& kernels)
      : m_taps(taps),
        m_srcWidth(srcWidth),
        m_dstWidth(dstWidth),
        m_kernel(FitsIn16Bits(taps) ? kernels.Row : nullptr) {
    if (!m_kernel) return;
    const int n = taps.Count;
    const int groups = (n + 3) / 4;
    m_pairs.resize(size_t(dstWidth) * size_t(groups) * 2);
    for (int32_t x = 0; x < dstWidth; ++x) {
      const int32_t* w = &taps.Weight[size_t(x) * size_t(n)];
      const auto tap = [&](int k) { return k < n ? w[k] : 0; };
      int32_t* out = &m_pairs[size_t(x) * size_t(groups) * 2];
      for (int g = 0; g < groups; ++g) {
        out[2 * g] = PackWeights(tap(4 * g), tap(4 * g + 2));
        out[2 * g + 1] = PackWeights(tap(4 * g + 1), tap(4 * g + 3));
      }
    }
    const auto [lowest, highest] = std::minmax_element(taps.First.begin(), taps.First.end());
    m_padLeft = std::max(0, -*lowest);
    m_padRight = std::max(0, *highest + groups * 4 - srcWidth);
    m_line.resize(size_t(m_padLeft) + size_t(srcWidth) + size_t(m_padRight));
    if (kernels.RowReadsWide) {
      const size_t words = size_t(groups) * 2;  // per destination pixel
      m_wide.resize(size_t(dstWidth / 2) * words * 8);
      auto wide = m_wide.begin();
      for (int32_t x = 0; x + 1 < dstWidth; x += 2) {
        const int32_t* left = &m_pairs[size_t(x) * words];
        const int32_t* right = left + words;
        for (size_t i = 0; i < words; ++i) {
          wide = std::fill_n(wide, 4, left[i]);
          wide = std::fill_n(wide, 4, right[i]);
        }
      }
    }
    m_filter = {dstWidth, groups, taps.First.data(), m_pairs.data(), m_wide.data()};
  }

  void Run(const TPixel* in, TPixel* out) {
    if (!m_kernel) return ResampleRow(in, out, m_dstWidth, m_taps);
    std::fill_n(m_line.begin(), m_padLeft, in[0]);
    std::copy_n(in, m_srcWidth, m_line.begin() + m_padLeft);
    std::fill_n(m_line.begin() + m_padLeft + m_srcWidth, m_padRight, in[m_srcWidth - 1]);
    m_kernel(m_line.data() + m_padLeft, out, m_filter);
  }

 private:
  const TTaps& m_taps;
  int32_t m_srcWidth, m_dstWidth;
  TRowKernel m_kernel;
  std::vector<int32_t> m_pairs, m_wide;
  int32_t m_padLeft = 0, m_padRight = 0;
  std::vector<TPixel> m_line;
  TRowFilter m_filter;
};

// The vertical pass, destination row by destination row, with the plain loop
// or a vector one; the vector loops take the rows of non-zero weight two at a
// time (an odd one out paired with a zero weight).
class TVerticalPass {
 public:
  TVerticalPass(const TTaps& taps, int32_t width, TColumnKernel kernel)
      : m_taps(taps),
        m_values(size_t(width) * 4),
        m_kernel(FitsIn16Bits(taps) ? kernel : nullptr),
        m_rows(size_t(taps.Count) + 1),
        m_weights(size_t(taps.Count) + 1),
        m_pairs(size_t(taps.Count) / 2 + 1) {
    if (!m_kernel) m_acc.resize(m_values);
  }

  template <class TRowOf>
  void Run(int32_t y, const TRowOf& row, TPixel* out) {
    if (!m_kernel) return ResampleColumn(y, row, out, m_values, m_taps, m_acc);
    const int n = m_taps.Count;
    size_t used = 0;
    for (int k = 0; k < n; ++k) {
      const int32_t w = m_taps.Weight[size_t(y) * size_t(n) + size_t(k)];
      if (w == 0) continue;
      m_rows[used] = reinterpret_cast<const uint8_t*>(row(m_taps.Index[size_t(y) * size_t(n) + size_t(k)]));
      m_weights[used++] = w;
    }
    if (used % 2) {
      m_rows[used] = m_rows[0];
      m_weights[used++] = 0;
    }
    for (size_t p = 0; p < used / 2; ++p) m_pairs[p] = PackWeights(m_weights[2 * p], m_weights[2 * p + 1]);
    m_kernel(m_rows.data(), m_pairs.data(), int(used / 2), reinterpret_cast<uint8_t*>(out), m_values);
  }

 private:
  const TTaps& m_taps;
  size_t m_values;
  TColumnKernel m_kernel;
  std::vector<const uint8_t*> m_rows;
  std::vector<int32_t> m_weights, m_pairs, m_acc;
};

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
  if (!ResamplePathAvailable(path)) path = TResamplePath::Scalar;  // never an illegal instruction
  const TPathKernels& kernels = kPathKernels[size_t(path)];
  const TTaps across = MakeTaps(src.Width(), dst.Width()), down = MakeTaps(src.Height(), dst.Height());
  THorizontalPass horizontal(across, src.Width(), dst.Width(), kernels);
  TVerticalPass vertical(down, dst.Width(), kernels.Column);
  // The horizontal pass's rows live in a ring of as many rows as one
  // destination row reads (row r in slot r % slots), each made once, just
  // before the first destination row that needs it: the window of source rows
  // only moves down, and never spans more than the taps.
  const int32_t slots = std::min(down.Count, src.Height());
  TBitmap32 ring(dst.Width(), slots);
  int32_t next = 0;  // the first source row not made yet
  const auto row = [&](int32_t r) -> const TPixel* { return ring.Row(r % slots); };
  for (int32_t y = 0; y < dst.Height(); ++y) {
    const int32_t first = down.First[size_t(y)];
    const int32_t lo = std::clamp(first, 0, src.Height() - 1);
    const int32_t hi = std::clamp(first + down.Count - 1, 0, src.Height() - 1);
    for (int32_t r = std::max(next, lo); r <= hi; ++r) horizontal.Run(src.Row(r), ring.Row(r % slots));
    next = std::max(next, hi + 1);
    vertical.Run(y, row, dst.Row(y));
  }
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
