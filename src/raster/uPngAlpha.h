// Whether a PNG carries transparency: an alpha channel, or a tRNS chunk that
// gives its palette or grey levels one.
#pragma once

#include <cstdint>
#include <span>

namespace kx {

// False for data that is not a readable PNG.
bool PngHasAlpha(std::span<const uint8_t> data);

}  // namespace kx
