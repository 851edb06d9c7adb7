// The header of a minimal WAV image of PCM sound: "RIFF", a plain 16-byte
// "fmt " chunk and the "data" chunk's own header, every size true. Decoders
// that take WAV images are handed this followed by the samples.
#pragma once

#include <cstdint>
#include <string>

#include "devices/uSound.h"

namespace kx {

inline constexpr uint32_t kWavHeaderBytes = 44;

// The 44 bytes before dataBytes bytes of samples in the format.
std::string WavHeader(const TPcmFormat& format, uint32_t dataBytes);

}  // namespace kx
