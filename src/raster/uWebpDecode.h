// WebP pictures through libwebp: lossy, lossless, with alpha, and the first
// frame of an animation as it shows on its canvas. A build without libwebp
// has the same calls that refuse every picture (raster/nowebp).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "raster/uBitmap.h"
#include "raster/uGeometry.h"

namespace kx {

// Whether this build decodes WebP pictures at all.
bool WebpBuiltIn();

// The size the headers declare (the canvas of an animation), read without
// decoding; nullopt for data that is not WebP, is cut short, or when the
// build has no WebP.
std::optional<TPoint> WebpPictureSize(std::span<const uint8_t> data);

// The picture with its own alpha (255 where it has none), at most
// kMaxDecodedPixels, checked against the declared size before anything is
// allocated. Throws TDecodeError for data that does not decode (a truncated
// file among them) and in a build without WebP.
TBitmap32 DecodeWebp(std::span<const uint8_t> data);

}  // namespace kx
