// One entry point for the still picture decoders: the kind of a picture is
// told by its first bytes, so a file decodes whatever its name says. WebP,
// HEIC and AVIF decode only in a build that has their libraries
// (PictureKindBuiltIn); elsewhere they are told apart all the same and
// refused with an error that says the format is not built in.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "raster/uBitmap.h"

namespace kx {

enum class TPictureKind { Unknown, Jpeg, Png, Gif, Bmp, Webp, Heic, Avif };

// HEIC and AVIF are HEIF files told apart by the brands of their "ftyp" box:
// the major brand when it names a codec, else the first compatible brand that
// does; a file of the generic brands only ("mif1") counts as HEIC.
TPictureKind PictureKindOf(std::span<const uint8_t> data);

// Whether this build decodes pictures of the kind (Unknown never).
bool PictureKindBuiltIn(TPictureKind kind);

// Decodes JPEG, PNG, GIF (first frame), BMP, WebP (the first frame of an
// animation), HEIC and AVIF (upright by their own rotation and mirroring).
// Formats without alpha give alpha 255. Throws TDecodeError for an unknown kind or data that does not decode.
TBitmap32 DecodePicture(std::span<const uint8_t> data);
// The same for a file; throws TDecodeError when it cannot be read.
TBitmap32 DecodePictureFile(const std::string& path);

// Reads a whole regular file, or a packed one (os/uPackedFiles.h), of at most
// maxBytes (other kinds of file, which might block, are refused); throws TDecodeError when it cannot be read or is larger.
inline constexpr size_t kMaxPictureFileBytes = size_t(512) << 20;
std::string ReadPictureBytes(const std::string& path, size_t maxBytes = kMaxPictureFileBytes);

}  // namespace kx
