// Sounds converted by SDL2_mixer to the device's format, ready for a channel.
#pragma once

#include <cstdint>
#include <memory>

#include "devices/sdl/uSdlAudio.h"
#include "devices/uSound.h"

struct Mix_Chunk;

namespace kx {

// A decoded sound larger than this in the device's format is refused.
inline constexpr uint64_t kMaxChunkBytes = uint64_t(256) << 20;

// The sound in the device's format, for playing once or, when looping, over
// and over. Changing the rate filters each sample with its neighbours; played
// once, the sound has silence before and after it, but a looping sound
// follows its own end, so it is converted with its end before its beginning
// and its beginning after its end, then cut back to one round: the joint
// then sounds as the sound itself does there, without a click. Throws
// TSoundError when the sound is too long or the mixer cannot take it.
std::shared_ptr<Mix_Chunk> ConvertSound(const TSdlAudio& audio, const TPcmSound& sound, bool looping);

}  // namespace kx
