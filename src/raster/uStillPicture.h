// Still pictures as a person sees them: the show, the thumbnails, the preview
// control, the full-screen preview and the wallpaper all decode a user's
// picture here, so a photo shows the same way up everywhere. A JPEG is turned
// upright by its Exif orientation after it is decoded (at a DCT scale too); a
// HEIC or AVIF by its own rotation and mirroring, which its decoder applies; the
// alpha of a PNG, WebP, HEIC or AVIF is composed over black, as the show draws
// it on its black screen.
// Pictures inside picture files (".kxp") do not come here: their region maps
// are drawn for the picture as it is stored.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "raster/uBitmap.h"
#include "raster/uGeometry.h"

namespace kx {

// The upright size of a JPEG read from its header, without decoding it;
// nullopt for other kinds of picture and for a header that does not read.
std::optional<TPoint> StillJpegSize(std::span<const uint8_t> data);

// Decodes a still picture (as DecodePicture does), turns a JPEG upright and
// composes a picture with alpha over black (every pixel then has alpha 255).
// With cover, a JPEG is decoded at the largest DCT scale whose upright result
// still covers it (most of a large photo's pixels never exist); without, at
// full size. Throws TDecodeError as DecodePicture does.
TBitmap32 DecodeStillPicture(std::span<const uint8_t> data, std::optional<TPoint> cover = std::nullopt);
// The same into picture: an upright JPEG is decoded into its allocation, kept
// when it is large enough (a buffer reused from picture to picture).
void DecodeStillPictureInto(std::span<const uint8_t> data, std::optional<TPoint> cover, TBitmap32& picture);
// The same for a file; throws TDecodeError when it cannot be read.
TBitmap32 DecodeStillPictureFile(const std::string& path);

}  // namespace kx
