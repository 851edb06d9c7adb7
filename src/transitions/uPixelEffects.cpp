#include "transitions/uPixelEffects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <numbers>
#include <utility>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

#include "raster/uBlit.h"
#include "raster/uMath.h"
#include "raster/uRandom.h"

namespace kx {
namespace {

// The pixel loops address whole rows of both bitmaps, so they only run when
// both really are W x H.
bool Fits(const TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H) {
  return W > 0 && H > 0 && Dest.Width() == W && Dest.Height() == H && Src.Width() == W && Src.Height() == H;
}

#if defined(__SSE2__)
// The blend of eight pixels at a time where the processor has AVX2, the same
// sums in lanes twice as wide; returns how many pixels it did.
__attribute__((target("avx2"))) size_t BlendAvx2(TPixel* d, const TPixel* s, size_t n, uint32_t a) {
  const short wa = short(a), wi = short(256 - a);
  const __m256i newWeight = _mm256_setr_epi16(wa, wa, wa, 0, wa, wa, wa, 0, wa, wa, wa, 0, wa, wa, wa, 0);
  const __m256i oldWeight = _mm256_setr_epi16(wi, wi, wi, 256, wi, wi, wi, 256, wi, wi, wi, 256, wi, wi, wi, 256);
  const __m256i zero = _mm256_setzero_si256();
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
    const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
    // The unpacks and the pack work within each 128-bit half, so the pixels
    // come back in their places.
    const __m256i lo =
        _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(sv, zero), newWeight),
                                           _mm256_mullo_epi16(_mm256_unpacklo_epi8(dv, zero), oldWeight)),
                          8);
    const __m256i hi =
        _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(sv, zero), newWeight),
                                           _mm256_mullo_epi16(_mm256_unpackhi_epi8(dv, zero), oldWeight)),
                          8);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), _mm256_packus_epi16(lo, hi));
  }
  return i;
}

bool HasAvx2() {
  __builtin_cpu_init();  // this may run before the library's own start-up code
  return __builtin_cpu_supports("avx2");
}

const bool g_hasAvx2 = HasAvx2();
#endif

// d + floor((s - d) * a / 256) equals floor((s * a + d * (256 - a)) / 256),
// whose sums fit 16 bits: eight or sixteen bytes at a time in 16-bit lanes
// where SSE2 or AVX2 is there, and red with blue sharing one 32-bit word
// otherwise.
void BlendRow(TPixel* d, const TPixel* s, size_t n, uint32_t a) {
  const uint32_t ia = 256 - a;
  size_t i = 0;
#if defined(__SSE2__)
  if (g_hasAvx2) i = BlendAvx2(d, s, n, a);
  const short wa = short(a), wi = short(ia);
  const __m128i newWeight = _mm_setr_epi16(wa, wa, wa, 0, wa, wa, wa, 0);  // the fourth byte keeps d
  const __m128i oldWeight = _mm_setr_epi16(wi, wi, wi, 256, wi, wi, wi, 256);
  const __m128i zero = _mm_setzero_si128();
  for (; i + 4 <= n; i += 4) {
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const __m128i lo = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(sv, zero), newWeight),
                                                    _mm_mullo_epi16(_mm_unpacklo_epi8(dv, zero), oldWeight)),
                                      8);
    const __m128i hi = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(sv, zero), newWeight),
                                                    _mm_mullo_epi16(_mm_unpackhi_epi8(dv, zero), oldWeight)),
                                      8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(lo, hi));
  }
#endif
  for (; i < n; ++i) {
    const uint32_t dp = d[i], sp = s[i];
    const uint32_t rb = (((sp & 0xFF00FFu) * a + (dp & 0xFF00FFu) * ia) >> 8) & 0xFF00FFu;
    const uint32_t g = (((sp & 0xFF00u) * a + (dp & 0xFF00u) * ia) >> 8) & 0xFF00u;
    d[i] = (dp & 0xFF000000u) | rb | g;
  }
}

uint32_t BlendWeight(int32_t percent) { return uint32_t(std::clamp(MulDiv(256, percent, 100), 0, 256)); }

// Takes the Src pixel wherever the pattern's draw lies below the threshold.
void SelectRow(TPixel* d, const TPixel* s, const uint8_t* draws, size_t n, uint8_t threshold) {
  for (size_t i = 0; i < n; ++i) {
    const uint32_t take = 0u - uint32_t(draws[i] < threshold);
    d[i] = (s[i] & take) | (d[i] & ~take);
  }
}

uint8_t Threshold(int32_t percent) { return uint8_t(std::clamp(percent, 0, 100)); }

// The last pattern made for each kind, kept for as long as the picture size
// stays the same: it depends on nothing else.
class TPatternCache {
 public:
  using TMake = std::vector<uint8_t> (*)(int32_t, int32_t);
  explicit TPatternCache(TMake make) : m_make(make) {}

  std::shared_ptr<const std::vector<uint8_t>> Get(int32_t width, int32_t height) {
    const std::lock_guard<std::mutex> lock(m_lock);
    if (!m_pattern || m_width != width || m_height != height) {
      m_pattern = std::make_shared<const std::vector<uint8_t>>(m_make(width, height));
      m_width = width;
      m_height = height;
    }
    return m_pattern;
  }

 private:
  TMake m_make;
  std::mutex m_lock;
  int32_t m_width = 0, m_height = 0;
  std::shared_ptr<const std::vector<uint8_t>> m_pattern;
};

TPatternCache g_dissolve(DissolvePattern);
TPatternCache g_rowBars(RowBarsPattern);
TPatternCache g_columnBars(ColumnBarsPattern);

uint32_t PatternSeed(int32_t width, int32_t height) { return uint32_t(width) + uint32_t(height); }

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if (a % b != 0 && ((a < 0) != (b < 0))) --q;
  return q;
}

// The columns x with lo <= start + x * step < hi, as [first, end).
std::pair<int64_t, int64_t> LinearRange(int64_t start, int64_t step, int64_t lo, int64_t hi) {
  if (step > 0) return {-FloorDiv(start - lo, step), -FloorDiv(start - hi, step)};
  if (step < 0) return {FloorDiv(start - hi, -step) + 1, FloorDiv(start - lo, -step) + 1};
  if (lo <= start && start < hi) return {INT64_MIN / 4, INT64_MAX / 4};
  return {0, 0};
}

// One row at a time: the columns whose source lies inside Src are found
// first, so the loop over them needs no test and steps the two 16.16
// coordinates by one addition each. T is the coordinate type, 32 bits
// wherever the coordinates fit.
constexpr int32_t kRowsAhead = 2;

template <class T>
void RotateRows(TBitmap32& Dest, const TBitmap32& Src, int32_t PX, int32_t PY, int64_t C, int64_t S) {
  const int32_t W = Dest.Width(), H = Dest.Height();
  const TPixel* src = Src.Bits();
  const int64_t uLo = -int64_t(PX) * 65536, uHi = (int64_t(W) - PX) * 65536;
  const int64_t vLo = -int64_t(PY) * 65536, vHi = (int64_t(H) - PY) * 65536;
  // Source index of (u, v), v counted from the bottom: base + (u - PX) - (v - PY) * W.
  const T base = T((int64_t(H) - 1 - PY) * W + PX);
  const T c = T(C), s = T(S), w = T(W);
  // From one destination row to the next, each source row is read a little
  // further along: to the right when the rows go upward and S < 0, to the
  // left when S > 0. Visiting the rows downward in the second case keeps
  // every such stream rising in memory, which the hardware prefetches well
  // (about twice as fast at small angles).
  const bool downward = S > 0;
  for (int32_t i = 0; i < H; ++i) {
    const int32_t b = downward ? H - 1 - i : i;
    const int64_t dy = int64_t(b) + 1 - PY;
    const int64_t u0 = (1 - int64_t(PX)) * C - dy * S;  // 16.16 offsets at x = 0
    const int64_t v0 = (1 - int64_t(PX)) * S + dy * C;
    const auto [ua, ue] = LinearRange(u0, C, uLo, uHi);
    const auto [va, ve] = LinearRange(v0, S, vLo, vHi);
    const int32_t x0 = int32_t(std::max<int64_t>({ua, va, 0})), x1 = int32_t(std::min<int64_t>({ue, ve, W}));
    if (x0 >= x1) continue;
    TPixel* d = Dest.Row(H - 1 - b);
    T fu = T(u0 + x0 * C), fv = T(v0 + x0 * S);
    int32_t x = x0;
#if defined(__SSE2__)
    if constexpr (sizeof(T) == 4) {
      // Four source indices at a time; v times W as a 16-bit multiply-add,
      // since both fit 16 bits here.
      const __m128i c4 = _mm_set1_epi32(4 * c), s4 = _mm_set1_epi32(4 * s);
      const __m128i w4 = _mm_set1_epi32(w), base4 = _mm_set1_epi32(base);
      __m128i fu4 = _mm_setr_epi32(fu, fu + c, fu + 2 * c, fu + 3 * c);
      __m128i fv4 = _mm_setr_epi32(fv, fv + s, fv + 2 * s, fv + 3 * s);
      // The source pixel the row kRowsAhead rows further on (in the order
      // the rows are visited) takes in this column is fetched ahead: at
      // small angles a row draws short runs from a hundred or more source
      // rows, more lines than the processor itself keeps in flight, so
      // without this the loop waits on memory.
      const int32_t next = downward ? -kRowsAhead : kRowsAhead;
      const __m128i cAhead = _mm_set1_epi32(-next * s), sAhead = _mm_set1_epi32(next * c);
      const auto srcAt = reinterpret_cast<uintptr_t>(src);
      for (; x + 4 <= x1; x += 4) {
        const __m128i index = _mm_sub_epi32(_mm_add_epi32(base4, _mm_srai_epi32(fu4, 16)),
                                            _mm_madd_epi16(_mm_srai_epi32(fv4, 16), w4));
        // Computed as an address (a prefetch never faults), so that one
        // beyond the picture is harmless.
        const __m128i ahead =
            _mm_sub_epi32(_mm_add_epi32(base4, _mm_srai_epi32(_mm_add_epi32(fu4, cAhead), 16)),
                          _mm_madd_epi16(_mm_srai_epi32(_mm_add_epi32(fv4, sAhead), 16), w4));
        _mm_prefetch(reinterpret_cast<const char*>(srcAt + uintptr_t(intptr_t(_mm_cvtsi128_si32(ahead)) * 4)),
                     _MM_HINT_T0);
        const TPixel p0 = src[_mm_cvtsi128_si32(index)];
        const TPixel p1 = src[_mm_cvtsi128_si32(_mm_shuffle_epi32(index, 1))];
        const TPixel p2 = src[_mm_cvtsi128_si32(_mm_shuffle_epi32(index, 2))];
        const TPixel p3 = src[_mm_cvtsi128_si32(_mm_shuffle_epi32(index, 3))];
        const __m128i low = _mm_unpacklo_epi32(_mm_cvtsi32_si128(int(p0)), _mm_cvtsi32_si128(int(p1)));
        const __m128i high = _mm_unpacklo_epi32(_mm_cvtsi32_si128(int(p2)), _mm_cvtsi32_si128(int(p3)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + x), _mm_unpacklo_epi64(low, high));
        fu4 = _mm_add_epi32(fu4, c4);
        fv4 = _mm_add_epi32(fv4, s4);
      }
      fu = T(u0 + x * C);
      fv = T(v0 + x * S);
    }
#endif
    for (; x < x1; ++x) {
      d[x] = src[base + (fu >> 16) - (fv >> 16) * w];
      fu += c;
      fv += s;
    }
  }
}

void Pivot(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t PX, int32_t PY, double angle) {
  if (!Fits(Dest, Src, W, H)) return;
  RotateImage(Dest, Src, PX, PY, angle);
}

double PivotAngle(int32_t percent) { return (100 - percent) * std::numbers::pi / 200; }

}  // namespace

void BlendRect(TBitmap32& Dest, const TBitmap32& Src, int32_t Percent, int32_t Left, int32_t Top, int32_t Cols,
               int32_t Rows) {
  if (Cols <= 0 || Rows <= 0) return;
  const TRect block = TRect{Left, Top, int32_t(std::min<int64_t>(int64_t(Left) + Cols, INT32_MAX)),
                            int32_t(std::min<int64_t>(int64_t(Top) + Rows, INT32_MAX))}
                          .Intersect(Dest.BoundsRect())
                          .Intersect(Src.BoundsRect());
  if (block.Empty()) return;
  const uint32_t a = BlendWeight(Percent);
  for (int32_t y = block.Top; y < block.Bottom; ++y)
    BlendRow(Dest.Row(y) + block.Left, Src.Row(y) + block.Left, size_t(block.Width()), a);
}

void RotateImage(TBitmap32& Dest, const TBitmap32& Src, int32_t PX, int32_t PY, double Angle) {
  if (Dest.Empty() || Dest.Width() != Src.Width() || Dest.Height() != Src.Height()) return;
  const int64_t C = int64_t(std::trunc(65536 * std::cos(-Angle)));
  const int64_t S = int64_t(std::trunc(65536 * std::sin(-Angle)));
  // 32-bit coordinates hold (side + 2) * 65536 and a row index up to the pixel count.
  const bool fits32 = std::max(Dest.Width(), Dest.Height()) < 16384 && std::abs(int64_t(PX)) < 16384 &&
                      std::abs(int64_t(PY)) < 16384;
  if (fits32) RotateRows<int32_t>(Dest, Src, PX, PY, C, S);
  else RotateRows<int64_t>(Dest, Src, PX, PY, C, S);
}

std::vector<uint8_t> DissolvePattern(int32_t width, int32_t height) {
  std::vector<uint8_t> draws(size_t(width) * size_t(height));
  TRandom random(PatternSeed(width, height));
  for (int32_t b = 0; b < height; ++b) {
    uint8_t* row = draws.data() + size_t(height - 1 - b) * size_t(width);
    for (int32_t x = 0; x < width; ++x) row[x] = uint8_t(random.Random(100));
  }
  return draws;
}

std::vector<uint8_t> RowBarsPattern(int32_t width, int32_t height) {
  std::vector<uint8_t> draws(static_cast<size_t>(height));
  TRandom random(PatternSeed(width, height));
  for (int32_t b = 0; b < height; ++b) draws[size_t(height - 1 - b)] = uint8_t(random.Random(100));
  return draws;
}

std::vector<uint8_t> ColumnBarsPattern(int32_t width, int32_t height) {
  std::vector<uint8_t> draws(static_cast<size_t>(width));
  TRandom random(PatternSeed(width, height));
  for (int32_t x = 0; x < width; ++x) draws[size_t(x)] = uint8_t(random.Random(100));
  return draws;
}

void Fade(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P, TRandom& Rand) {
  if (!Fits(Dest, Src, W, H)) return;
  BlendRow(Dest.Bits(), Src.Bits(), size_t(W) * size_t(H), BlendWeight(P));
}

void Pixelate(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
              TRandom& Rand) {
  const TBitmap32* zoom = &Dest;
  int32_t zoomPercent, ex, ey;
  if (P <= 50) {
    zoomPercent = 180 - MulDiv(P, 82, 50);
    ex = X;
    ey = Y;
  } else {
    zoom = &Src;
    zoomPercent = 180 + MulDiv(P - 100, 82, 50);
    ex = W - X;
    ey = H - Y;
  }
  const int32_t mx = MulDiv(ex, zoomPercent, 100), my = MulDiv(ey, zoomPercent, 100);
  const int32_t sw = std::max(W - 2 * mx, 2), sh = std::max(H - 2 * my, 2);
  if (41 <= P && P <= 59) {
    // 5 % at P = 41 up to 95 % at P = 59, then zoom into the blend.
    BlendRect(Dest, Src, 5 * (P - 41) + 5, mx, my, sw, sh);
    zoom = &Dest;
  }
  StretchCopy(Dest, -2 * mx, -2 * my, W + 4 * mx, H + 4 * my, *zoom, mx, my, sw, sh);
}

void Dissolve(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
              TRandom& Rand) {
  if (!Fits(Dest, Src, W, H)) return;
  const auto draws = g_dissolve.Get(W, H);
  SelectRow(Dest.Bits(), Src.Bits(), draws->data(), draws->size(), Threshold(P));
}

void RandomBarsHorizontal(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                          TRandom& Rand) {
  if (!Fits(Dest, Src, W, H)) return;
  const auto draws = g_rowBars.Get(W, H);
  const uint8_t threshold = Threshold(P);
  for (int32_t y = 0; y < H; ++y)
    if ((*draws)[size_t(y)] < threshold) std::memcpy(Dest.Row(y), Src.Row(y), Dest.StrideBytes());
}

void RandomBarsVertical(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                        TRandom& Rand) {
  if (!Fits(Dest, Src, W, H)) return;
  const auto draws = g_columnBars.Get(W, H);
  const uint8_t threshold = Threshold(P);
  for (int32_t y = 0; y < H; ++y) SelectRow(Dest.Row(y), Src.Row(y), draws->data(), size_t(W), threshold);
}

// The pivot lies one pixel outside the picture on both axes; rows of the
// pivot are counted from the bottom.

void PivotFromTopLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                      TRandom& Rand) {
  Pivot(Dest, Src, W, H, -1, -1, PivotAngle(P));
}

void PivotFromBottomLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                         TRandom& Rand) {
  Pivot(Dest, Src, W, H, -1, H, -PivotAngle(P));
}

void PivotFromTopRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                       TRandom& Rand) {
  Pivot(Dest, Src, W, H, W, -1, -PivotAngle(P));
}

void PivotFromBottomRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                          TRandom& Rand) {
  Pivot(Dest, Src, W, H, W, H, PivotAngle(P));
}

}  // namespace kx
