// The pictures stored in window definitions: a picture property's Data
// (the picture kind's name, then its data) and a bitmap property's Data
// (a byte count and a BMP file). The bytes go through the picture decoders
// and their limits, and the pictures of one window through its budget.
#pragma once

#include <cstdint>
#include <string_view>

#include "raster/uBitmap.h"

namespace kx {

// While one lives, the pictures decoded on its thread share its budget: a
// picture that would take them beyond it decodes as an empty picture (its
// control shows nothing), refused from its header's size before any decoding
// where the header tells it. A window's build holds one; without one,
// pictures have only the decoders' own limits. They nest: an inner one
// stands in for the outer until it ends.
class TPictureBudget {
 public:
  // A window's pictures: 16 megapixels, dozens of full-window skins. Each
  // picture drawn costs about three times its decoded size again (the colour
  // key applied, the RGB bytes, the display's copy), so this keeps a window
  // well within a gigabyte however its pictures are drawn.
  static constexpr int64_t kWindowBytes = int64_t(64) << 20;

  explicit TPictureBudget(int64_t maxBytes = kWindowBytes);
  ~TPictureBudget();
  TPictureBudget(const TPictureBudget&) = delete;
  TPictureBudget& operator=(const TPictureBudget&) = delete;

  int64_t Used() const { return m_used; }
  // The budget in force on this thread, or null.
  static TPictureBudget* Current();
  // Whether `bytes` more fit.
  bool Fits(int64_t bytes) const { return bytes <= m_max - m_used; }
  void Take(int64_t bytes) { m_used += bytes; }

 private:
  int64_t m_max, m_used = 0;
  TPictureBudget* m_outer;
};

// TBitmap, TJPEGImage, TPNGObject and TGIFImage (first frame) data; an empty
// picture for a count of 0 and for TIcon and TMetafile, which have no
// decoder here. Throws TFormBuildError for data that is cut short or does
// not decode.
TBitmap32 DecodePictureData(std::string_view data);
// A Glyph.Data value: a 32-bit little-endian byte count and a BMP file.
TBitmap32 DecodeBitmapData(std::string_view data);

}  // namespace kx
