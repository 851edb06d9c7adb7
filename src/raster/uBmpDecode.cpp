#include "raster/uBmpDecode.h"

#include <algorithm>
#include <array>
#include <bit>

#include "raster/uDecodeError.h"

namespace kx {
namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;
constexpr TPixel kBlack = MakePixel(0, 0, 0);
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

// What the headers say about the picture.
struct TBmpHeader {
  int64_t Width = 0, Height = 0;
  bool TopDown = false;
  uint32_t Bpp = 0, Compression = kRgb, PaletteUsed = 0, PaletteEntry = 4, HeaderSize = 0, PixelOffset = 0;
};

TBmpHeader ReadHeader(const TBytes& in) {
  if (in.Size() < kFileHeaderSize + 4 || in.U16(0) != 0x4D42) throw TDecodeError("not a BMP file");
  TBmpHeader h;
  h.PixelOffset = in.U32(10);
  h.HeaderSize = in.U32(14);
  if (h.HeaderSize == 12) {  // the old core header: 16-bit sizes, 3-byte palette entries
    h.Width = in.U16(18);
    h.Height = in.U16(20);
    h.Bpp = in.U16(24);
    h.PaletteEntry = 3;
  } else if (h.HeaderSize >= 40 && h.HeaderSize <= 1024) {
    h.Width = int32_t(in.U32(18));
    h.Height = int32_t(in.U32(22));
    h.Bpp = in.U16(28);
    h.Compression = in.U32(30);
    h.PaletteUsed = in.U32(46);
  } else {
    throw TDecodeError("BMP header of unknown size");
  }
  h.TopDown = h.Height < 0;
  if (h.TopDown) h.Height = -h.Height;
  if (h.Width <= 0 || h.Height <= 0 || h.Width > TBitmap32::kMaxSide || h.Height > TBitmap32::kMaxSide)
    throw TDecodeError("BMP picture size out of range");
  if (h.Width * h.Height > kMaxDecodedPixels) throw TDecodeError(TooLargeMessage("BMP", h.Width, h.Height));
  if (h.Bpp != 1 && h.Bpp != 4 && h.Bpp != 8 && h.Bpp != 16 && h.Bpp != 24 && h.Bpp != 32)
    throw TDecodeError("BMP bit depth not supported");
  const bool bitFields = (h.Compression == kBitFields || h.Compression == kAlphaBitFields) && (h.Bpp == 16 || h.Bpp == 32);
  const bool runLength = (h.Compression == kRle8 && h.Bpp == 8) || (h.Compression == kRle4 && h.Bpp == 4);
  if (h.Compression != kRgb && !bitFields && !runLength) throw TDecodeError("BMP compression not supported");
  return h;
}

// Palette for 1, 4 and 8 bits; indices beyond it read as black.
std::array<TPixel, 256> ReadPalette(const TBytes& in, const TBmpHeader& h) {
  std::array<TPixel, 256> palette{};
  palette.fill(kBlack);
  if (h.Bpp > 8) return palette;
  const uint32_t maxEntries = uint32_t(1) << h.Bpp;
  const uint32_t entries = (h.PaletteUsed == 0 || h.PaletteUsed > maxEntries) ? maxEntries : h.PaletteUsed;
  const uint8_t* p = in.At(kFileHeaderSize + h.HeaderSize, uint64_t(entries) * h.PaletteEntry);
  for (uint32_t i = 0; i < entries; ++i, p += h.PaletteEntry) palette[i] = MakePixel(p[2], p[1], p[0]);
  return palette;
}

// Bitmap row of the n-th row stored in the file.
int32_t BitmapRow(const TBmpHeader& h, int64_t stored) { return int32_t(h.TopDown ? stored : h.Height - 1 - stored); }

TBitmap32 DecodeUncompressed(const TBytes& in, const TBmpHeader& h, const std::array<TPixel, 256>& palette) {
  // Bit-field masks sit right after the 40-byte header, inside the longer headers.
  uint32_t red = 0x7C00, green = 0x03E0, blue = 0x001F, alpha = 0;
  if (h.Compression != kRgb) {
    red = in.U32(54);
    green = in.U32(58);
    blue = in.U32(62);
    if (h.HeaderSize >= 56 || h.Compression == kAlphaBitFields) alpha = in.U32(66);
  }
  const TChannel r(red), g(green), b(blue), a(alpha);

  const int64_t stride = (h.Width * h.Bpp + 31) / 32 * 4;
  const uint8_t* pixels = in.At(h.PixelOffset, uint64_t(stride * h.Height));
  TBitmap32 bitmap{int32_t(h.Width), int32_t(h.Height)};
  for (int64_t y = 0; y < h.Height; ++y) {
    const uint8_t* src = pixels + stride * y;
    TPixel* out = bitmap.Row(BitmapRow(h, y));
    for (int64_t x = 0; x < h.Width; ++x) {
      switch (h.Bpp) {
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
          const uint8_t* p = src + x * (h.Bpp / 8);
          const uint32_t v = h.Bpp == 16 ? uint32_t(p[0] | p[1] << 8)
                                         : uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                                               uint32_t(p[3]) << 24;
          if (h.Bpp == 32 && h.Compression == kRgb)
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

// Run-length encoded pixels (8 or 4 bits per pixel). The data is a series of
// byte pairs: a count n > 0 followed by a byte repeats that byte's index n
// times (at 4 bits its two nibbles alternate, high first); a count of 0
// followed by 0 ends the line, by 1 ends the picture, by 2 moves the pen right
// and down by the next two bytes, and by n >= 3 introduces n indices stored
// as they are, padded to an even number of bytes. Pixels never written stay
// black. Pixels of a run that fall past the right edge are dropped: encoders
// write rows padded to four bytes, and the padding pixels run past the edge
// of pictures whose width is not a multiple of four. A move past the right
// edge or the last row, a run after the last row, or the end of the data ends
// the decoding; nothing outside the picture is ever written.
class TRunLengthDecoder {
 public:
  TRunLengthDecoder(const TBytes& in, const TBmpHeader& h, const std::array<TPixel, 256>& palette)
      : m_header(h),
        m_palette(palette),
        m_data(in.At(std::min<uint64_t>(h.PixelOffset, in.Size()), 0)),
        m_size(in.Size() - std::min<uint64_t>(h.PixelOffset, in.Size())),
        m_bitmap(int32_t(h.Width), int32_t(h.Height), kBlack) {}

  TBitmap32 Decode() {
    while (Step()) {
    }
    return std::move(m_bitmap);
  }

 private:
  // Decodes one byte pair and what belongs to it; false when decoding ends.
  bool Step() {
    uint8_t count = 0, value = 0;
    if (!Next(count) || !Next(value)) return false;
    if (count > 0) return Repeat(count, value);
    switch (value) {
      case 0:  // end of line
        m_x = 0;
        ++m_row;
        return true;
      case 1:  // end of picture
        return false;
      case 2: {  // move
        uint8_t dx = 0, dy = 0;
        if (!Next(dx) || !Next(dy)) return false;
        m_x += dx;
        m_row += dy;
        return m_x <= m_header.Width && m_row <= m_header.Height;
      }
      default:
        return Absolute(value);
    }
  }

  bool Repeat(uint32_t count, uint8_t value) {
    const bool nibbles = m_header.Bpp == 4;
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t index = !nibbles ? value : (i & 1) ? value & 15 : value >> 4;
      if (!Put(index)) return false;
    }
    return true;
  }

  bool Absolute(uint32_t count) {
    const bool nibbles = m_header.Bpp == 4;
    const uint32_t bytes = nibbles ? (count + 1) / 2 : count;
    uint8_t byte = 0;
    for (uint32_t i = 0; i < count; ++i) {
      if ((!nibbles || !(i & 1)) && !Next(byte)) return false;
      const uint8_t index = !nibbles ? byte : (i & 1) ? byte & 15 : byte >> 4;
      if (!Put(index)) return false;
    }
    return (bytes & 1) == 0 || Next(byte);  // padding to a 16-bit boundary
  }

  // Writes one pixel at the pen, unless the pen is past the right edge, and
  // advances it; false after the last row.
  bool Put(uint8_t index) {
    if (m_row >= m_header.Height) return false;
    if (m_x < m_header.Width) m_bitmap.SetPixel(int32_t(m_x), BitmapRow(m_header, m_row), m_palette[index]);
    ++m_x;
    return true;
  }

  bool Next(uint8_t& byte) {
    if (m_pos >= m_size) return false;
    byte = m_data[m_pos++];
    return true;
  }

  const TBmpHeader& m_header;
  const std::array<TPixel, 256>& m_palette;
  const uint8_t* m_data;
  uint64_t m_size, m_pos = 0;
  int64_t m_x = 0, m_row = 0;  // the pen; rows counted in file order
  TBitmap32 m_bitmap;
};

}  // namespace

TBitmap32 DecodeBmp(std::span<const uint8_t> data) {
  const TBytes in(data);
  const TBmpHeader header = ReadHeader(in);
  const std::array<TPixel, 256> palette = ReadPalette(in, header);
  if (header.Compression == kRle8 || header.Compression == kRle4)
    return TRunLengthDecoder(in, header, palette).Decode();
  return DecodeUncompressed(in, header, palette);
}

}  // namespace kx
