#include "raster/uExifOrientation.h"

#include <algorithm>
#include <cstring>

namespace kx {
namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTypeShort = 3;
constexpr size_t kEntrySize = 12;
// Markers and fill bytes looked at before giving up: the Exif segment comes
// first or among the first few in every camera's files.
constexpr int kMaxSteps = 256;
constexpr uint8_t kExifHeader[] = {'E', 'x', 'i', 'f', 0, 0};

uint16_t Read16(const uint8_t* p, bool bigEndian) {
  return bigEndian ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]);
}

uint32_t Read32(const uint8_t* p, bool bigEndian) {
  return bigEndian ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
                   : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

}  // namespace

int ExifTiffOrientation(std::span<const uint8_t> tiff) {
  if (tiff.size() < 8) return kUprightOrientation;
  const uint8_t* t = tiff.data();
  bool big;
  if (t[0] == 'I' && t[1] == 'I') big = false;
  else if (t[0] == 'M' && t[1] == 'M') big = true;
  else return kUprightOrientation;
  if (Read16(t + 2, big) != 42) return kUprightOrientation;
  const uint32_t ifd = Read32(t + 4, big);
  if (ifd > tiff.size() || tiff.size() - ifd < 2) return kUprightOrientation;
  // Entries past the end of the segment are never read, whatever the count says.
  const size_t count = std::min<size_t>(Read16(t + ifd, big), (tiff.size() - ifd - 2) / kEntrySize);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = t + ifd + 2 + i * kEntrySize;
    if (Read16(e, big) != kOrientationTag) continue;
    if (Read16(e + 2, big) != kTypeShort || Read32(e + 4, big) < 1) return kUprightOrientation;
    const uint16_t value = Read16(e + 8, big);  // a SHORT sits in the first bytes of the value field
    return value >= 1 && value <= 8 ? value : kUprightOrientation;
  }
  return kUprightOrientation;
}

int JpegExifOrientation(std::span<const uint8_t> jpeg) {
  const uint8_t* d = jpeg.data();
  const size_t size = jpeg.size();
  if (size < 2 || d[0] != 0xFF || d[1] != 0xD8) return kUprightOrientation;
  size_t pos = 2;
  for (int step = 0; step < kMaxSteps && size - pos >= 4; ++step) {
    if (d[pos] != 0xFF) return kUprightOrientation;
    const uint8_t marker = d[pos + 1];
    if (marker == 0xFF) {  // a fill byte before the marker
      ++pos;
      continue;
    }
    // The picture data or its end: no header segment follows.
    if (marker == 0xDA || marker == 0xD9) return kUprightOrientation;
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // markers without a length
      pos += 2;
      continue;
    }
    const size_t length = Read16(d + pos + 2, true);
    if (length < 2 || length > size - pos - 2) return kUprightOrientation;
    const uint8_t* body = d + pos + 4;
    const size_t bodySize = length - 2;
    if (marker == 0xE1 && bodySize >= sizeof kExifHeader && std::memcmp(body, kExifHeader, sizeof kExifHeader) == 0)
      return ExifTiffOrientation({body + sizeof kExifHeader, bodySize - sizeof kExifHeader});
    pos += 2 + length;
  }
  return kUprightOrientation;
}

}  // namespace kx
