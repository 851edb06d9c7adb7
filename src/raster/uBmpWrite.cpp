#include "raster/uBmpWrite.h"

#include <cstdint>

namespace kx {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

void Put16(std::string& out, uint16_t v) {
  out += char(v & 0xFF);
  out += char(v >> 8);
}
void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += char((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string EncodeBmp32(const TBitmap32& bitmap) {
  // TBitmap32 caps its pixel count at 2^28, so the sizes fit 32 bits.
  const uint32_t width = uint32_t(bitmap.Width()), height = uint32_t(bitmap.Height());
  const uint32_t imageSize = width * height * 4;
  const uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
  std::string out;
  out.reserve(size_t(offset) + imageSize);
  out += "BM";
  Put32(out, offset + imageSize);
  Put32(out, 0);  // two reserved words
  Put32(out, offset);
  Put32(out, kInfoHeaderSize);
  Put32(out, width);
  Put32(out, height);  // positive: the first row stored is the bottom one
  Put16(out, 1);       // planes
  Put16(out, 32);      // bits per pixel
  Put32(out, 0);       // no compression
  Put32(out, imageSize);
  Put32(out, kPixelsPerMetre);
  Put32(out, kPixelsPerMetre);
  Put32(out, 0);  // colours used: none, there is no palette
  Put32(out, 0);  // important colours: all
  for (int32_t y = bitmap.Height() - 1; y >= 0; --y) {
    const TPixel* row = bitmap.Row(y);
    for (uint32_t x = 0; x < width; ++x) Put32(out, row[x]);
  }
  return out;
}

}  // namespace kx
