// One entry point for the still picture decoders: the kind of a picture is
// told by its first bytes, so a file decodes whatever its name says.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "raster/uBitmap.h"

namespace kx {

enum class TPictureKind { Unknown, Jpeg, Png, Gif, Bmp };

TPictureKind PictureKindOf(std::span<const uint8_t> data);

// Decodes JPEG, PNG, GIF (first frame) and BMP. Formats without alpha give
// alpha 255. Throws TDecodeError for an unknown kind or data that does not decode.
TBitmap32 DecodePicture(std::span<const uint8_t> data);
// The same for a file; throws TDecodeError when it cannot be read.
TBitmap32 DecodePictureFile(const std::string& path);

// Reads a whole regular file, or a packed one (os/uPackedFiles.h), of at most
// maxBytes (other kinds of file, which might block, are refused); throws TDecodeError when it cannot be read or is larger.
inline constexpr size_t kMaxPictureFileBytes = size_t(512) << 20;
std::string ReadPictureBytes(const std::string& path, size_t maxBytes = kMaxPictureFileBytes);

}  // namespace kx
