// JPEG decoding and encoding through libjpeg-turbo.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "raster/uBitmap.h"
#include "raster/uDecodeError.h"

namespace kx {

// Decodes a complete JPEG stream into opaque pixels (alpha 255). scaleDenom
// (1, 2, 4 or 8) asks the decoder for a picture that many times smaller in
// each direction, decoded at that size directly, which is much faster for
// large photos. A picture that would still have more than maxPixels decodes
// at the next larger scale that brings it within them; one that has more even
// at 1/8 is refused. Throws TDecodeError for data that does not decode,
// including a stream that ends before the picture is complete.
TBitmap32 DecodeJpeg(std::span<const uint8_t> data, int scaleDenom = 1, int64_t maxPixels = kMaxDecodedPixels);
// The same into bitmap, whose allocation is kept when it is large enough (a
// buffer reused from picture to picture); its content is undefined after a
// failure.
void DecodeJpegInto(std::span<const uint8_t> data, int scaleDenom, int64_t maxPixels, TBitmap32& bitmap);
// The same for a file; throws TDecodeError when it cannot be read.
TBitmap32 DecodeJpegFile(const std::string& path, int scaleDenom = 1, int64_t maxPixels = kMaxDecodedPixels);

// The pixel count of a picture of fullSize decoded at 1/scaleDenom.
int64_t JpegScaledPixels(TPoint fullSize, int scaleDenom);

// The picture size a JPEG stream declares in its header, or nullopt when the
// header does not read.
std::optional<TPoint> JpegPictureSize(std::span<const uint8_t> data);

// The largest DCT scale (8, 4, 2 or 1) at which a picture of fullSize still
// comes out at least as large as target in both directions.
int JpegScaleToCover(TPoint fullSize, TPoint target);

// Encodes the colour channels (alpha is dropped); quality 1..100.
std::string EncodeJpeg(const TBitmap32& bitmap, int quality = 90);

}  // namespace kx
