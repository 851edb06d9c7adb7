#include "raster/uObjectBlend.h"

#include <algorithm>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kx {
namespace {

// (F x m + B x (255 - m)) div 255 on each colour channel, fourth byte m.
// Red and blue share one multiply in two 16-bit lanes.
inline TPixel Mix(TPixel f, TPixel b, uint32_t m) {
  const uint32_t k = 255 - m;
  uint32_t rb = (f & 0xFF00FFu) * m + (b & 0xFF00FFu) * k;
  rb = ((rb + 0x00010001u + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  const uint32_t g = Div255Floor(((f >> 8) & 0xFFu) * m + ((b >> 8) & 0xFFu) * k);
  return m << 24 | rb | g << 8;
}

// The per-pixel parts of a rule: its alpha and whether a pixel is skipped.
struct TRule {
  uint32_t Alpha;
  TPixel Key;
  bool UseAlpha, UseKey, Gif;
  inline bool Skip(TPixel f) const { return (UseKey && f == Key) || (Gif && (f & 0xFFFFFFu) == 0xFFFF00u); }
  inline uint32_t M(TPixel f) const { return UseAlpha ? Div255Floor((f >> 24) * Alpha) : Alpha; }
  inline void Put(TPixel& b, TPixel f) const {
    if (!Skip(f)) b = Mix(f, b, M(f));
  }
};

#ifdef __SSE2__
// Four pixels at a time in 16-bit lanes: the same arithmetic as Mix.
inline __m128i Div255Lanes(__m128i t) {
  const __m128i one = _mm_set1_epi16(1);
  return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, one), _mm_srli_epi16(t, 8)), 8);
}

inline __m128i Blend4(__m128i f, __m128i b, const TRule& r) {
  const __m128i zero = _mm_setzero_si128();
  __m128i m = _mm_set1_epi32(int(r.Alpha));  // each 32-bit lane: m in its low 16 bits
  if (r.UseAlpha) m = Div255Lanes(_mm_mullo_epi16(_mm_srli_epi32(f, 24), m));
  const __m128i m01 = _mm_unpacklo_epi32(m, m), m23 = _mm_unpackhi_epi32(m, m);
  const __m128i mlo = _mm_or_si128(m01, _mm_slli_epi32(m01, 16)), mhi = _mm_or_si128(m23, _mm_slli_epi32(m23, 16));
  const __m128i full = _mm_set1_epi16(255);
  const auto mix = [&](__m128i fc, __m128i bc, __m128i mc) {
    return Div255Lanes(_mm_add_epi16(_mm_mullo_epi16(fc, mc), _mm_mullo_epi16(bc, _mm_sub_epi16(full, mc))));
  };
  const __m128i lo = mix(_mm_unpacklo_epi8(f, zero), _mm_unpacklo_epi8(b, zero), mlo);
  const __m128i hi = mix(_mm_unpackhi_epi8(f, zero), _mm_unpackhi_epi8(b, zero), mhi);
  __m128i out = _mm_or_si128(_mm_and_si128(_mm_packus_epi16(lo, hi), _mm_set1_epi32(0x00FFFFFF)), _mm_slli_epi32(m, 24));
  __m128i skip = zero;
  if (r.UseKey) skip = _mm_cmpeq_epi32(f, _mm_set1_epi32(int(r.Key)));
  if (r.Gif) skip = _mm_cmpeq_epi32(_mm_and_si128(f, _mm_set1_epi32(0x00FFFFFF)), _mm_set1_epi32(0x00FFFF00));
  return _mm_or_si128(_mm_and_si128(skip, b), _mm_andnot_si128(skip, out));
}
#endif

// One row of n pixels; fetch(i) gives the source pixel of destination i and
// fetch4(i) those of i..i+3.
template <typename TFetch, typename TFetch4>
inline void BlendRow(TPixel* out, int32_t n, const TRule& r, TFetch fetch, TFetch4 fetch4) {
  int32_t i = 0;
#ifdef __SSE2__
  for (; i + 4 <= n; i += 4) {
    auto* p = reinterpret_cast<__m128i*>(out + i);
    _mm_storeu_si128(p, Blend4(fetch4(i), _mm_loadu_si128(p), r));
  }
#else
  (void)fetch4;
#endif
  for (; i < n; ++i) r.Put(out[i], fetch(i));
}

// Source index of destination index d (0-based in a run of dn) for a source
// of sn: the pixel under the destination pixel's centre.
inline int32_t SourceIndex(int64_t d, int64_t dn, int64_t sn) { return int32_t((2 * d + 1) * sn / (2 * dn)); }

}  // namespace

void StretchBlend(TBitmap32& dst, const TRect& rect, const TBitmap32& src, bool mirrored, const TObjectBlend& blend) {
  const int64_t dw = int64_t(rect.Right) - rect.Left, dh = int64_t(rect.Bottom) - rect.Top;
  if (dw <= 0 || dh <= 0 || src.Empty() || dst.Empty()) return;
  const int64_t x0 = std::max<int64_t>(rect.Left, 0), x1 = std::min<int64_t>(rect.Right, dst.Width());
  const int64_t y0 = std::max<int64_t>(rect.Top, 0), y1 = std::min<int64_t>(rect.Bottom, dst.Height());
  if (x0 >= x1 || y0 >= y1) return;
  const int32_t sw = src.Width(), sh = src.Height();
  const auto n = int32_t(x1 - x0);

  // Columns: a contiguous run when the width is not scaled, else a table.
  thread_local std::vector<int32_t> table;
  const int32_t* columns = nullptr;
  int32_t first = 0, step = 1;
  if (dw == sw) {
    const auto c = int32_t(x0 - rect.Left);
    first = mirrored ? sw - 1 - c : c;
    step = mirrored ? -1 : 1;
  } else {
    if (table.size() < size_t(n)) table.resize(size_t(n));
    for (int32_t i = 0; i < n; ++i) {
      const int32_t c = SourceIndex(x0 - rect.Left + i, dw, sw);
      table[size_t(i)] = mirrored ? sw - 1 - c : c;
    }
    columns = table.data();
  }

  const TRule r{blend.Alpha, blend.Key, blend.Rule == TBlendRule::Picture && blend.UseAlpha,
                blend.Rule == TBlendRule::Picture && blend.UseKey, blend.Rule == TBlendRule::Gif};
  for (int64_t y = y0; y < y1; ++y) {
    const int32_t sy = dh == sh ? int32_t(y - rect.Top) : SourceIndex(y - rect.Top, dh, sh);
    const TPixel* in = src.Row(sy);
    TPixel* out = dst.Row(int32_t(y)) + x0;
    if (columns) {
      BlendRow(out, n, r, [&](int32_t i) { return in[columns[i]]; },
               [&](int32_t i) {
#ifdef __SSE2__
                 return _mm_setr_epi32(int(in[columns[i]]), int(in[columns[i + 1]]), int(in[columns[i + 2]]),
                                       int(in[columns[i + 3]]));
#else
                 return 0;
#endif
               });
    } else if (step > 0) {
      const TPixel* s0 = in + first;
      BlendRow(out, n, r, [&](int32_t i) { return s0[i]; },
               [&](int32_t i) {
#ifdef __SSE2__
                 return _mm_loadu_si128(reinterpret_cast<const __m128i*>(s0 + i));
#else
                 return 0;
#endif
               });
    } else {
      const TPixel* s0 = in + first;
      BlendRow(out, n, r, [&](int32_t i) { return s0[-i]; },
               [&](int32_t i) {
#ifdef __SSE2__
                 // Pixels first - i - 3 .. first - i, reversed.
                 return _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s0 - i - 3)), 0x1B);
#else
                 return 0;
#endif
               });
    }
  }
}

}  // namespace kx
