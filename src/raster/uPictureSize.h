// The size a picture's header declares, read without decoding anything, so
// that callers with a memory budget can refuse a picture before its decoder
// allocates: PNG (IHDR), GIF (the logical screen, else the first frame), BMP
// (the info header), JPEG (the first frame header), WebP (the canvas of an
// animation) and HEIC/AVIF (the primary picture turned upright; read by the
// library from the file's boxes, nothing decoded). WebP, HEIC and AVIF have no
// size in a build without their library.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace kx {

struct TPictureSize {
  int64_t Width = 0, Height = 0;
  int64_t Pixels() const { return Width * Height; }
};

// Empty for an unknown kind or a header that is cut short.
std::optional<TPictureSize> DeclaredPictureSize(std::span<const uint8_t> data);

}  // namespace kx
