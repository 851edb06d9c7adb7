// The error every picture decoder throws for data it cannot decode: a damaged
// or truncated file, an unsupported variant, or a picture beyond the bitmap
// size limits.
#pragma once

#include <stdexcept>
#include <string>

namespace kx {

class TDecodeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace kx
