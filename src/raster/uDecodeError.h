// The error every picture decoder throws for data it cannot decode: a damaged
// or truncated file, an unsupported variant, or a picture beyond the bitmap
// size limits; and the pixel budgets every decoder checks against the size a
// header declares before it allocates anything.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kx {

class TDecodeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Largest decoded picture: 32 megapixels (8192 x 4096, 128 MB of pixels),
// which holds an 8K UHD frame. The show fits every picture to the screen, so
// nothing larger is ever needed, and a header that claims more would let a few
// bytes of input take gigabytes. JPEGs above it decode at the DCT scale that
// brings them under it; PNG, GIF and BMP pictures above it are refused.
inline constexpr int64_t kMaxDecodedPixels = int64_t(1) << 25;
// Largest decoded thumbnail of a picture file: thumbnails are shown at about
// 120 x 90, so one megapixel is plenty; larger ones decode at a DCT scale under it.
inline constexpr int64_t kMaxThumbnailPixels = int64_t(1) << 20;

// The message of a refusal for a picture above kMaxDecodedPixels, e.g.
// "PNG picture of 16384 x 16384 pixels is larger than the limit of 33554432 pixels".
inline std::string TooLargeMessage(const std::string& kind, int64_t width, int64_t height) {
  return kind + " picture of " + std::to_string(width) + " x " + std::to_string(height) +
         " pixels is larger than the limit of " + std::to_string(kMaxDecodedPixels) + " pixels";
}

}  // namespace kx
