// JPEG streams as cameras write them: an Exif APP1 segment with an
// Orientation tag spliced in after the start marker.
#pragma once

#include <string>

namespace kxtest {

// jpeg with a big-endian Exif segment whose first IFD holds one entry, the
// Orientation tag (0x0112, one SHORT) of value orientation.
inline std::string WithExifOrientation(const std::string& jpeg, int orientation) {
  std::string segment("\xFF\xE1\x00\x22" "Exif\0\0" "MM\x00\x2A\x00\x00\x00\x08" "\x00\x01", 20);
  segment += std::string("\x01\x12\x00\x03\x00\x00\x00\x01\x00", 9) + char(orientation) + std::string(6, '\0');
  return jpeg.substr(0, 2) + segment + jpeg.substr(2);
}

}  // namespace kxtest
