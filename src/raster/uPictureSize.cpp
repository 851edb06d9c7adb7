#include "raster/uPictureSize.h"

#include <cstdlib>

#include "raster/uHeifDecode.h"
#include "raster/uJpegCodec.h"
#include "raster/uPictureDecode.h"
#include "raster/uWebpDecode.h"

namespace kx {
namespace {

uint32_t Le16(std::span<const uint8_t> d, size_t at) { return uint32_t(d[at]) | uint32_t(d[at + 1]) << 8; }
uint32_t Be16(std::span<const uint8_t> d, size_t at) { return uint32_t(d[at]) << 8 | uint32_t(d[at + 1]); }
uint32_t Le32(std::span<const uint8_t> d, size_t at) { return Le16(d, at) | Le16(d, at + 2) << 16; }
uint32_t Be32(std::span<const uint8_t> d, size_t at) { return Be16(d, at) << 16 | Be16(d, at + 2); }

std::optional<TPictureSize> PngSize(std::span<const uint8_t> d) {
  if (d.size() < 24) return std::nullopt;
  return TPictureSize{Be32(d, 16), Be32(d, 20)};
}

// The logical screen; a screen of 0 x 0 takes the first frame's size, as the
// decoders do.
std::optional<TPictureSize> GifSize(std::span<const uint8_t> d) {
  if (d.size() < 13) return std::nullopt;
  if (Le16(d, 6) != 0 && Le16(d, 8) != 0) return TPictureSize{Le16(d, 6), Le16(d, 8)};
  size_t p = 13 + (d[10] & 0x80 ? 3 * (size_t(2) << (d[10] & 7)) : 0);
  while (p < d.size()) {
    if (d[p] == 0x2C) {
      if (p + 9 > d.size()) return std::nullopt;
      return TPictureSize{Le16(d, p + 5), Le16(d, p + 7)};
    }
    if (d[p] != 0x21 || p + 2 >= d.size()) return std::nullopt;
    p += 2;  // introducer and label, then sub-blocks up to an empty one
    while (p < d.size() && d[p] != 0) p += size_t(d[p]) + 1;
    ++p;
  }
  return std::nullopt;
}

std::optional<TPictureSize> BmpSize(std::span<const uint8_t> d) {
  if (d.size() < 26) return std::nullopt;
  if (Le32(d, 14) == 12) return TPictureSize{Le16(d, 18), Le16(d, 20)};
  return TPictureSize{std::llabs(int32_t(Le32(d, 18))), std::llabs(int32_t(Le32(d, 22)))};
}

// libjpeg's own header read, the same as the decoder's.
std::optional<TPictureSize> JpegSize(std::span<const uint8_t> d) {
  const std::optional<TPoint> size = JpegPictureSize(d);
  if (!size) return std::nullopt;
  return TPictureSize{size->X, size->Y};
}

std::optional<TPictureSize> SizeOf(std::optional<TPoint> size) {
  if (!size) return std::nullopt;
  return TPictureSize{size->X, size->Y};
}

}  // namespace

std::optional<TPictureSize> DeclaredPictureSize(std::span<const uint8_t> data) {
  switch (PictureKindOf(data)) {
    case TPictureKind::Png: return PngSize(data);
    case TPictureKind::Gif: return GifSize(data);
    case TPictureKind::Bmp: return BmpSize(data);
    case TPictureKind::Jpeg: return JpegSize(data);
    case TPictureKind::Webp: return SizeOf(WebpPictureSize(data));
    case TPictureKind::Heic:
    case TPictureKind::Avif: return SizeOf(HeifPictureSize(data));  // upright, after the file's rotation
    default: return std::nullopt;
  }
}

}  // namespace kx
