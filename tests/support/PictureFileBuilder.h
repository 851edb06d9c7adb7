// Builds small picture files for tests.
#pragma once

#include <cstring>
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
