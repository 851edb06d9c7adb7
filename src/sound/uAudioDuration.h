// The playing time of a music file told from its headers alone: WAV (its
// data chunk), Ogg Vorbis and Opus (the last page's granule position), FLAC
// (its stream information) and MPEG audio (a Xing, Info or VBRI header, or
// else the sum of its frames). Every read is bounded: a file of any size is
// told in a few reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "sound/uByteSource.h"

namespace kx {

// Milliseconds, or nullopt when the kind is unknown or its headers are
// broken.
std::optional<uint32_t> AudioDurationMs(IByteSource& source);
// The same for a file; nullopt also when it cannot be read.
std::optional<uint32_t> AudioFileDurationMs(const std::string& path);

}  // namespace kx
