// HEIC and AVIF pictures (both HEIF files) through libheif: the primary
// picture, turned and mirrored by the file's own transform properties as
// libheif applies them, with its alpha. A build without libheif has the same
// calls that refuse every picture (raster/noheif).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "raster/uBitmap.h"
#include "raster/uGeometry.h"

namespace kx {

// Whether this build decodes HEIC (HEVC coded) and AVIF (AV1 coded) pictures.
bool HeicBuiltIn();
bool AvifBuiltIn();

// The upright size of the primary picture (after its rotation), read from the
// file's boxes without decoding; nullopt for data that does not read, a size
// beyond TBitmap32::kMaxSide, or when the build has no HEIF.
std::optional<TPoint> HeifPictureSize(std::span<const uint8_t> data);

// The primary picture, upright, with its own alpha (255 where it has none),
// at most kMaxDecodedPixels, checked against its declared size before
// anything is decoded. Throws TDecodeError for data that does not decode and
// in a build without HEIF.
TBitmap32 DecodeHeif(std::span<const uint8_t> data);

}  // namespace kx
