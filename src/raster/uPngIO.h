// PNG decoding and writing through libpng's simplified interface.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "raster/uBitmap.h"

namespace kx {

// Decodes a PNG with its alpha channel (straight, not premultiplied); a PNG
// without alpha gives alpha 255. Throws TDecodeError for data that does not decode.
TBitmap32 DecodePng(std::span<const uint8_t> data);

// Encodes all four channels, the fourth as alpha.
std::string EncodePng(const TBitmap32& bitmap);
// Writes EncodePng's bytes to a file; throws std::runtime_error on failure.
void WritePng(const std::string& path, const TBitmap32& bitmap);

}  // namespace kx
