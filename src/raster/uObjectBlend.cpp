#include "raster/uObjectBlend.h"

#include <algorithm>
#include <vector>

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

struct TPictureKernel {
  uint32_t Alpha;
  TPixel Key;
  template <bool kUseAlpha, bool kUseKey>
  inline void Put(TPixel& b, TPixel f) const {
    if (kUseKey && f == Key) return;
    const uint32_t m = kUseAlpha ? Div255Floor((f >> 24) * Alpha) : Alpha;
    b = Mix(f, b, m);
  }
};

// One row: columns[i] is the source column of destination pixel i, or a
// contiguous run from `first` stepping by `step` when columns is null.
template <typename TPut>
inline void BlendRow(TPixel* out, const TPixel* in, int32_t n, const int32_t* columns, int32_t first, int32_t step,
                     TPut put) {
  if (columns) {
    for (int32_t i = 0; i < n; ++i) put(out[i], in[columns[i]]);
  } else if (step > 0) {
    const TPixel* s = in + first;
    for (int32_t i = 0; i < n; ++i) put(out[i], s[i]);
  } else {
    const TPixel* s = in + first;
    for (int32_t i = 0; i < n; ++i) put(out[i], s[-i]);
  }
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

  const auto rows = [&](auto put) {
    for (int64_t y = y0; y < y1; ++y) {
      const int32_t sy = dh == sh ? int32_t(y - rect.Top) : SourceIndex(y - rect.Top, dh, sh);
      BlendRow(dst.Row(int32_t(y)) + x0, src.Row(sy), n, columns, first, step, put);
    }
  };
  const uint32_t alpha = blend.Alpha;
  if (blend.Rule == TBlendRule::Gif) {
    rows([alpha](TPixel& b, TPixel f) {
      if ((f & 0xFFFFFFu) != 0xFFFF00u) b = Mix(f, b, alpha);
    });
    return;
  }
  const TPictureKernel k{alpha, blend.Key};
  if (blend.UseAlpha && blend.UseKey) rows([k](TPixel& b, TPixel f) { k.Put<true, true>(b, f); });
  else if (blend.UseAlpha) rows([k](TPixel& b, TPixel f) { k.Put<true, false>(b, f); });
  else if (blend.UseKey) rows([k](TPixel& b, TPixel f) { k.Put<false, true>(b, f); });
  else rows([k](TPixel& b, TPixel f) { k.Put<false, false>(b, f); });
}

}  // namespace kx
