// Builds small picture files for tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

#include "package/uPictureFileWriter.h"
#include "raster/uJpegCodec.h"

namespace kxtest {

// A complete file's parts: an 8 x 6 picture, a 4 x 3 thumbnail, a region map
// of the picture's size without areas, and the full tail with nothing in it.
inline kx::TPictureFileParts SmallPictureFile() {
  kx::TPictureFileParts p;
  p.Title = "Lake";
  p.Description = "Evening";
  p.Thumbnail = kx::EncodeJpeg(kx::TBitmap32(4, 3, kx::MakePixel(0, 0, 200)));
  p.Picture = kx::EncodeJpeg(kx::TBitmap32(8, 6, kx::MakePixel(0, 200, 0)));
  p.RegionMap = {8, 6, 480};
  return p;
}

// A JPEG stream whose frame header claims width x height: the header of a
// huge picture over the data of a small one, as a hostile file would have it.
inline std::string PatchJpegSize(std::string jpeg, uint16_t width, uint16_t height) {
  for (size_t i = 2; i + 9 <= jpeg.size(); ++i)
    if (uint8_t(jpeg[i]) == 0xFF && (uint8_t(jpeg[i + 1]) == 0xC0 || uint8_t(jpeg[i + 1]) == 0xC2)) {
      jpeg[i + 5] = char(height >> 8), jpeg[i + 6] = char(height);
      jpeg[i + 7] = char(width >> 8), jpeg[i + 8] = char(width);
      return jpeg;
    }
  throw std::invalid_argument("no JPEG frame header");
}

// The bytes of a record as stored.
template <typename T>
auto StoredBytes(const T& record) {
  std::array<uint8_t, sizeof(T)> bytes;
  std::memcpy(bytes.data(), &record, sizeof(T));
  return bytes;
}

// A wave record whose every byte is `fill` (distinct from the defaults).
inline kx::TWaveRecordBytes WaveOf(uint8_t fill) {
  kx::TWaveRecordBytes r;
  r.fill(fill);
  return r;
}

}  // namespace kxtest
