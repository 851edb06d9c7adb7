#include "animation/uWaterRows.h"

#include <immintrin.h>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace kx {
namespace {

// The player is built for x86-64, whose baseline is SSE2; the AVX2 code is
// compiled alongside and only called where the processor has it.
#define KX_TARGET_AVX2 __attribute__((target("avx2")))

// Adding 1.5 * 2^52 to a double below 2^51 in magnitude leaves no bits below
// the units, so (v + kShift) - kShift is v rounded to the nearest integer,
// halves to even, in the hardware's default mode: the same in every lane of
// a vector as in scalar code.
constexpr double kShift = 6755399441055744.0;
constexpr double kFitLimit = 1073741824.0;  // 2^30

// The bodies are plain loops that the compiler vectorises; each is inlined
// into one function per instruction set, so that the same source makes the
// baseline and the AVX2 code. Only multiplications and additions of doubles
// are used, each rounded on its own (no fused multiply-add is enabled), so
// every lane computes what the scalar formula computes.

// The profile index (|a| mod period) mod 360 of the angles a of a run of
// columns, computed a vector of columns at a time. Each step is the scalar
// formula's: the angle c * step + phase rounded to the nearest through
// kShift, then each remainder taken with the quotient rounded to the
// nearest, which is the true quotient or one more (the numbers stay below
// 2^31), so adding the divisor back to a negative remainder makes it exact.
struct TAngleConsts {
  double Step, Phase, Period, Inverse;
  bool Period360;
};

// Each writes the index of the columns c, c + dc, ... (count of them, rounded
// up to whole vectors) to index[].
void AngleIndicesSse2(const TAngleConsts& k, double c, double dc, int32_t count, int32_t* index) {
  const __m128d shift = _mm_set1_pd(kShift), step = _mm_set1_pd(k.Step), phase = _mm_set1_pd(k.Phase);
  const __m128d period = _mm_set1_pd(k.Period), inverse = _mm_set1_pd(k.Inverse), zero = _mm_setzero_pd();
  const __m128d full = _mm_set1_pd(360.0), fullInverse = _mm_set1_pd(1.0 / 360.0), signBit = _mm_set1_pd(-0.0);
  const __m128d advance = _mm_set1_pd(2 * dc);
  __m128d col = _mm_set_pd(c + dc, c);
  for (int32_t i = 0; i < count; i += 2) {
    const __m128d a =
        _mm_andnot_pd(signBit, _mm_sub_pd(_mm_add_pd(_mm_add_pd(_mm_mul_pd(col, step), phase), shift), shift));
    __m128d r = _mm_sub_pd(a, _mm_mul_pd(_mm_sub_pd(_mm_add_pd(_mm_mul_pd(a, inverse), shift), shift), period));
    r = _mm_add_pd(r, _mm_and_pd(_mm_cmplt_pd(r, zero), period));
    if (!k.Period360) {
      r = _mm_sub_pd(r, _mm_mul_pd(_mm_sub_pd(_mm_add_pd(_mm_mul_pd(r, fullInverse), shift), shift), full));
      r = _mm_add_pd(r, _mm_and_pd(_mm_cmplt_pd(r, zero), full));
    }
    _mm_storel_epi64(reinterpret_cast<__m128i*>(index + i), _mm_cvttpd_epi32(r));
    col = _mm_add_pd(col, advance);
  }
}

KX_TARGET_AVX2 void AngleIndicesAvx2(const TAngleConsts& k, double c, double dc, int32_t count, int32_t* index) {
  const __m256d shift = _mm256_set1_pd(kShift), step = _mm256_set1_pd(k.Step), phase = _mm256_set1_pd(k.Phase);
  const __m256d period = _mm256_set1_pd(k.Period), inverse = _mm256_set1_pd(k.Inverse), zero = _mm256_setzero_pd();
  const __m256d full = _mm256_set1_pd(360.0), fullInverse = _mm256_set1_pd(1.0 / 360.0);
  const __m256d signBit = _mm256_set1_pd(-0.0), advance = _mm256_set1_pd(4 * dc);
  __m256d col = _mm256_set_pd(c + 3 * dc, c + 2 * dc, c + dc, c);
  for (int32_t i = 0; i < count; i += 4) {
    const __m256d a = _mm256_andnot_pd(
        signBit, _mm256_sub_pd(_mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(col, step), phase), shift), shift));
    __m256d r =
        _mm256_sub_pd(a, _mm256_mul_pd(_mm256_sub_pd(_mm256_add_pd(_mm256_mul_pd(a, inverse), shift), shift), period));
    r = _mm256_add_pd(r, _mm256_and_pd(_mm256_cmp_pd(r, zero, _CMP_LT_OQ), period));
    if (!k.Period360) {
      r = _mm256_sub_pd(r,
                        _mm256_mul_pd(_mm256_sub_pd(_mm256_add_pd(_mm256_mul_pd(r, fullInverse), shift), shift), full));
      r = _mm256_add_pd(r, _mm256_and_pd(_mm256_cmp_pd(r, zero, _CMP_LT_OQ), full));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(index + i), _mm256_cvttpd_epi32(r));
    col = _mm256_add_pd(col, advance);
  }
}

using TAngleIndices = void (*)(const TAngleConsts&, double, double, int32_t, int32_t*);

// Columns are handled in chunks whose indices fit a buffer on the stack.
constexpr int32_t kChunk = 256;

template <TAngleIndices Angles, bool Checked, bool Shifted>
[[gnu::always_inline]] inline void SlantBody(const TWaterPlanes& p, const TSlantRow& r) {
  const size_t stride = size_t(p.Width);
  const TPixel* __restrict in = p.In;
  TPixel* __restrict out = p.Out + size_t(r.Y) * stride;
  const int16_t* __restrict areas = p.Areas;
  const int16_t* __restrict rowAreas = areas + size_t(r.Y) * stride;
  const size_t* __restrict rowAt = r.RowAt;
  const TAngleConsts consts{r.Step, r.Phase, double(r.AbsPeriod), 1.0 / double(r.AbsPeriod), r.AbsPeriod == 360};
  const int32_t maxX = p.Width - 1;
  // Beyond one width the shift clamps every column to the same edge.
  const auto shift = int32_t(std::clamp<int64_t>(r.Shift, -p.Width, p.Width));
  const int16_t k = int16_t(r.Area);
  alignas(32) int32_t index[kChunk + 4];
  // The samples jump between the rows the wave reaches in no order the
  // processor can foresee, so the row that the next row's samples reach
  // first (one beyond the lowest, at the crest or the trough) is fetched
  // ahead.
  const size_t ahead = std::min(std::max(rowAt[0], rowAt[180]) + stride, size_t(p.Height - 1) * stride);
  for (int32_t x0 = r.X0; x0 < r.X1; x0 += kChunk) {
    const int32_t x1 = std::min(r.X1, x0 + kChunk);
    for (int32_t x = x0; x < x1; x += 16)
      _mm_prefetch(reinterpret_cast<const char*>(in + ahead + size_t(x)), _MM_HINT_T0);
    Angles(consts, double(r.Base + r.Sign * x0), double(r.Sign), x1 - x0, index);
    const int32_t* __restrict at0 = index - x0;
    for (int32_t x = x0; x < x1; ++x) {
      const int32_t srcX = Shifted ? std::clamp(x - shift, 0, maxX) : x;
      const size_t at = rowAt[at0[x]] + size_t(srcX);
      if constexpr (Checked) {
        if ((!Shifted || rowAreas[srcX] == k) && areas[at] == k) out[x] = in[at];
      } else {
        out[x] = in[at];
      }
    }
  }
}

template <TAngleIndices Angles>
void SlantAll(const TWaterPlanes& p, const TSlantRow& r) {
  if (r.Shift != 0)
    SlantBody<Angles, true, true>(p, r);
  else if (r.Checked)
    SlantBody<Angles, true, false>(p, r);
  else
    SlantBody<Angles, false, false>(p, r);
}

// The columns x0 <= x < x1 of one jitter value j: every source and
// destination row is the same, so the loop reads and writes whole runs. The
// pixels that do not qualify are written back unchanged.
template <bool DstIsRow>
[[gnu::always_inline]] inline void JitterRun(const int32_t* __restrict jitter, int32_t j, int16_t k, int32_t x0,
                                             int32_t x1, int32_t shift, TPixel* __restrict out,
                                             const int16_t* __restrict dstAreas, const int16_t* __restrict srcAreas,
                                             const TPixel* __restrict src) {
  for (int32_t x = x0; x < x1; ++x) {
    const int32_t sx = x - shift;
    const bool take = (jitter[x] == j) & (DstIsRow || dstAreas[x] == k) & (dstAreas[sx] == k) & (srcAreas[sx] == k);
    const TPixel sample = src[sx], kept = out[x];
    out[x] = take ? sample : kept;
  }
}

// The same where the area holds every pixel looked at: only the jitter
// value decides.
[[gnu::always_inline]] inline void JitterRunUnchecked(const int32_t* __restrict jitter, int32_t j, int32_t x0,
                                                      int32_t x1, int32_t shift, TPixel* __restrict out,
                                                      const TPixel* __restrict src) {
  for (int32_t x = x0; x < x1; ++x) {
    const TPixel sample = src[x - shift], kept = out[x];
    out[x] = jitter[x] == j ? sample : kept;
  }
}

[[gnu::always_inline]] inline void JitterAll(const TWaterPlanes& p, const TJitterRow& r) {
  const size_t stride = size_t(p.Width);
  const int64_t maxX = p.Width - 1, maxY = p.Height - 1;
  const auto clampY = [&](int64_t v) { return size_t(std::clamp<int64_t>(v, 0, maxY)); };
  const auto shift = int32_t(std::clamp<int64_t>(r.Shift, -p.Width, p.Width));
  const int16_t k = int16_t(r.Area);
  // Columns whose source column lies inside the picture: [lo, hi).
  const auto lo = int32_t(std::clamp<int64_t>(shift, r.X0, r.X1));
  const auto hi = int32_t(std::clamp<int64_t>(maxX + 1 + shift, lo, r.X1));
  for (int32_t j = 0; j < r.JitterEnd; ++j) {
    const size_t dstY = clampY(r.Y - int64_t(r.DstJitter) * j);
    const size_t srcY = clampY(r.Y + r.VOff - int64_t(r.SrcJitter) * j);
    TPixel* out = p.Out + dstY * stride;
    const int16_t* dstAreas = p.Areas + dstY * stride;
    const int16_t* srcAreas = p.Areas + srcY * stride;
    const TPixel* src = p.In + srcY * stride;
    const bool dstIsRow = dstY == size_t(r.Y);
    // The edges, whose source column is clamped.
    const auto edge = [&](int32_t x0, int32_t x1) {
      for (int32_t x = x0; x < x1; ++x) {
        const auto sx = size_t(std::clamp<int64_t>(x - int64_t(shift), 0, maxX));
        if (r.Jitter[x] == j && (dstIsRow || dstAreas[x] == k) && dstAreas[sx] == k && srcAreas[sx] == k)
          out[x] = src[sx];
      }
    };
    edge(r.X0, lo);
    edge(hi, r.X1);
    if (r.Unchecked >> j & 1)
      JitterRunUnchecked(r.Jitter, j, lo, hi, shift, out, src);
    else if (dstIsRow)
      JitterRun<true>(r.Jitter, j, k, lo, hi, shift, out, dstAreas, srcAreas, src);
    else
      JitterRun<false>(r.Jitter, j, k, lo, hi, shift, out, dstAreas, srcAreas, src);
  }
}

void JitterRowSse2(const TWaterPlanes& p, const TJitterRow& r) { JitterAll(p, r); }
KX_TARGET_AVX2 void JitterRowAvx2(const TWaterPlanes& p, const TJitterRow& r) { JitterAll(p, r); }

struct TKernels {
  void (*Slant)(const TWaterPlanes&, const TSlantRow&);
  void (*Jitter)(const TWaterPlanes&, const TJitterRow&);
};

// Indexed by TSimdLevel.
constexpr TKernels kKernels[] = {{SlantAll<AngleIndicesSse2>, JitterRowSse2},
                                 {SlantAll<AngleIndicesAvx2>, JitterRowAvx2}};

std::atomic<TSimdLevel>& Level() {
  static std::atomic<TSimdLevel> level{BestSimdLevel()};
  return level;
}

const TKernels& Kernels() { return kKernels[size_t(Level().load(std::memory_order_relaxed))]; }

}  // namespace

TSimdLevel BestSimdLevel() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") ? TSimdLevel::Avx2 : TSimdLevel::Sse2;
}

// A level the processor lacks falls back to the baseline.
void SetSimdLevel(TSimdLevel level) {
  Level().store(level == TSimdLevel::Avx2 && BestSimdLevel() != TSimdLevel::Avx2 ? TSimdLevel::Sse2 : level);
}

TSimdLevel CurrentSimdLevel() { return Level().load(); }

bool SlantRowFits(const TSlantRow& r, int32_t width) {
  return std::fabs(r.Step) * width + std::fabs(r.Phase) < kFitLimit && r.AbsPeriod >= 1 && r.AbsPeriod <= 0x80000000u;
}

void RippleSlantRow(const TWaterPlanes& planes, const TSlantRow& row) {
  if (row.X0 < row.X1) Kernels().Slant(planes, row);
}

void RippleJitterRow(const TWaterPlanes& planes, const TJitterRow& row) {
  if (row.X0 < row.X1) Kernels().Jitter(planes, row);
}

}  // namespace kx
