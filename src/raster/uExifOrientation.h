// The orientation a camera records in a JPEG's Exif data: how the stored
// picture must be turned or mirrored to show upright. Read by a small bounded
// reader of the APP1 segment: only the first IFD is looked at (the tag lives
// there), no offset chain is followed, nothing outside the segment is read,
// and the walk over the segments before it stops after a few hundred steps.
#pragma once

#include <cstdint>
#include <span>

namespace kx {

// The Exif orientation values 1..8: 1 is upright, 2 mirrored left to right,
// 3 turned half round, 4 mirrored top to bottom, 5 mirrored along the
// top-left to bottom-right diagonal, 6 to be turned a quarter clockwise,
// 7 mirrored along the other diagonal, 8 to be turned a quarter anticlockwise.
inline constexpr int kUprightOrientation = 1;

// The orientation of a JPEG stream: the Orientation tag (0x0112, one SHORT)
// of the first IFD of its first Exif APP1 segment. 1 when the stream has no
// such segment or tag, when the tag is out of range, of another type, or
// points outside its segment, and when the data is not a JPEG or is cut short.
int JpegExifOrientation(std::span<const uint8_t> jpeg);

// The same read from the TIFF structure of an Exif segment (what follows its
// "Exif\0\0" header): byte order mark, 42, offset of the first IFD.
int ExifTiffOrientation(std::span<const uint8_t> tiff);

}  // namespace kx
