#include "raster/uBmpDecode.h"

#include <algorithm>
#include <array>
#include <bit>

#include "raster/uDecodeError.h"

namespace kx {
namespace {

constexpr uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;
constexpr size_t kFileHeaderSize = 14;

// Bounds-checked little-endian reads from the whole file.
class TBytes {
 public:
  explicit TBytes(std::span<const uint8_t> data) : m_data(data) {}
  size_t Size() const { return m_data.size(); }
  const uint8_t* At(uint64_t offset, uint64_t count) const {
    if (offset > m_data.size() || count > m_data.size() - offset) throw TDecodeError("BMP ends early");
    return m_data.data() + offset;
  }
  uint16_t U16(uint64_t offset) const {
    const uint8_t* p = At(offset, 2);
    return uint16_t(p[0] | p[1] << 8);
  }
  uint32_t U32(uint64_t offset) const {
    const uint8_t* p = At(offset, 4);
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
  }

 private:
  std::span<const uint8_t> m_data;
};

// One channel of a bit-field pixel, widened or narrowed to 8 bits.
class TChannel {
 public:
  explicit TChannel(uint32_t mask) : m_mask(mask) {
    if (!mask) return;
    // Channels wider than 8 bits keep their top 8 bits.
    const int bits = std::popcount(mask >> std::countr_zero(mask));
    m_shift = std::countr_zero(mask) + std::max(0, bits - 8);
    m_max = (uint32_t(1) << std::min(bits, 8)) - 1;
  }
  bool Present() const { return m_mask != 0; }
  uint8_t Get(uint32_t v) const {
    if (!m_mask) return 0;
    const uint32_t raw = ((v & m_mask) >> m_shift) & m_max;
    return uint8_t((raw * 255 + m_max / 2) / m_max);
  }

 private:
  uint32_t m_mask = 0, m_max = 1;
  int m_shift = 0;
};

}  // namespace

TBitmap32 DecodeBmp(std::span<const uint8_t> data) {
  const TBytes in(data);
  if (in.Size() < kFileHeaderSize + 4 || in.U16(0) != 0x4D42) throw TDecodeError("not a BMP file");
  const uint32_t pixelOffset = in.U32(10);
  const uint32_t headerSize = in.U32(14);

  int64_t width = 0, height = 0;
  uint32_t bpp = 0, compression = kRgb, paletteUsed = 0, paletteEntry = 4;
  if (headerSize == 12) {  // the old core header: 16-bit sizes, 3-byte palette entries
    width = in.U16(18);
    height = in.U16(20);
    bpp = in.U16(24);
    paletteEntry = 3;
  } else if (headerSize >= 40 && headerSize <= 1024) {
    width = int32_t(in.U32(18));
    height = int32_t(in.U32(22));
    bpp = in.U16(28);
    compression = in.U32(30);
    paletteUsed = in.U32(46);
  } else {
    throw TDecodeError("BMP header of unknown size");
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > TBitmap32::kMaxSide || height > TBitmap32::kMaxSide ||
      width * height > TBitmap32::kMaxPixels)
    throw TDecodeError("BMP picture size out of range");
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    throw TDecodeError("BMP bit depth not supported");
  if (compression != kRgb &&
      !((compression == kBitFields || compression == kAlphaBitFields) && (bpp == 16 || bpp == 32)))
    throw TDecodeError("BMP compression not supported");

  // Palette for 1, 4 and 8 bits; indices beyond it read as black.
  std::array<TPixel, 256> palette{};
  palette.fill(MakePixel(0, 0, 0));
  if (bpp <= 8) {
    const uint32_t maxEntries = uint32_t(1) << bpp;
    const uint32_t entries = (paletteUsed == 0 || paletteUsed > maxEntries) ? maxEntries : paletteUsed;
    const uint8_t* p = in.At(kFileHeaderSize + headerSize, uint64_t(entries) * paletteEntry);
    for (uint32_t i = 0; i < entries; ++i, p += paletteEntry) palette[i] = MakePixel(p[2], p[1], p[0]);
  }

  // Bit-field masks sit right after the 40-byte header, inside the longer headers.
  uint32_t red = 0x7C00, green = 0x03E0, blue = 0x001F, alpha = 0;
  if (compression != kRgb) {
    red = in.U32(54);
    green = in.U32(58);
    blue = in.U32(62);
    if (headerSize >= 56 || compression == kAlphaBitFields) alpha = in.U32(66);
  }
  const TChannel r(red), g(green), b(blue), a(alpha);

  const int64_t stride = (width * bpp + 31) / 32 * 4;
  const uint8_t* pixels = in.At(pixelOffset, uint64_t(stride * height));
  TBitmap32 bitmap{int32_t(width), int32_t(height)};
  for (int64_t y = 0; y < height; ++y) {
    const uint8_t* src = pixels + stride * (topDown ? y : height - 1 - y);
    TPixel* out = bitmap.Row(int32_t(y));
    for (int64_t x = 0; x < width; ++x) {
      switch (bpp) {
        case 1:
          out[x] = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
          break;
        case 4:
          out[x] = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
          break;
        case 8:
          out[x] = palette[src[x]];
          break;
        case 24:
          out[x] = MakePixel(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
          break;
        case 16:
        case 32: {
          const uint8_t* p = src + x * (bpp / 8);
          const uint32_t v = bpp == 16 ? uint32_t(p[0] | p[1] << 8)
                                       : uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                                             uint32_t(p[3]) << 24;
          if (bpp == 32 && compression == kRgb)
            out[x] = MakePixel(p[2], p[1], p[0]);
          else
            out[x] = MakePixel(r.Get(v), g.Get(v), b.Get(v), a.Present() ? a.Get(v) : 255);
          break;
        }
      }
    }
  }
  return bitmap;
}

}  // namespace kx
