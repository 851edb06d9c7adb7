// The pictures stored in window definitions: a picture property's Data
// (the picture kind's name, then its data) and a bitmap property's Data
// (a byte count and a BMP file). The bytes go through the picture decoders
// and their limits.
#pragma once

#include <string_view>

#include "raster/uBitmap.h"

namespace kx {

// TBitmap, TJPEGImage, TPNGObject and TGIFImage (first frame) data; an empty
// picture for a count of 0 and for TIcon and TMetafile, which have no
// decoder here. Throws TFormBuildError for data that is cut short or does
// not decode.
TBitmap32 DecodePictureData(std::string_view data);
// A Glyph.Data value: a 32-bit little-endian byte count and a BMP file.
TBitmap32 DecodeBitmapData(std::string_view data);

}  // namespace kx
