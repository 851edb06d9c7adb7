// The eight sound channels on SDL2_mixer, each a reserved mixer channel
// playing a Mix_Chunk. Channels loaded with the same sound (the same block of
// samples) share its chunks: the mixer converts that sound to the device's
// format once for playing once and, on the first looping play, once more for
// looping; each channel keeps its own volume and looping. A sound reaches the
// mixer as a WAV image with a header of our own making, so it never meets a
// header that lies.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "devices/sdl/uSdlAudio.h"
#include "devices/sdl/uSdlChunk.h"
#include "devices/uSound.h"

struct Mix_Chunk;

namespace kx {

class TSdlSoundChannels final : public ISoundChannels {
 public:
  // A decoded sound larger than this in the device's format is refused.
  static constexpr uint64_t kMaxDecodedBytes = kMaxChunkBytes;

  explicit TSdlSoundChannels(TSdlAudio& audio) : m_audio(audio) {}
  ~TSdlSoundChannels() override;
  TSdlSoundChannels(const TSdlSoundChannels&) = delete;
  TSdlSoundChannels& operator=(const TSdlSoundChannels&) = delete;

  void Load(int channel, const TPcmSound& sound) override;
  void Unload(int channel) override;
  void Play(int channel, bool loop) override;
  void Stop(int channel) override;
  void SetVolume(int channel, int32_t hundredthsDb) override;
  void StopAll() override;

 private:
  void Free(int channel);

  // What a channel holds: the sound, by whose samples and format another
  // channel loading the same sound finds the chunks, and the chunks for
  // playing once and for looping (made on the first looping play), each
  // freed when no channel holds it any more.
  struct TLoaded {
    TPcmSound Sound;
    std::shared_ptr<Mix_Chunk> Chunk, LoopChunk;
  };
  // The channel's chunk for looping, converted and handed to every channel
  // holding the same sound when none has it yet.
  Mix_Chunk* LoopChunk(int channel);

  TSdlAudio& m_audio;
  std::array<TLoaded, kChannelCount> m_loaded{};
  std::array<int, kChannelCount> m_volumes{128, 128, 128, 128, 128, 128, 128, 128};
};

// The mixer's 0..128 volume for hundredths of a decibel: 128 at 0 dB, at
// least 1 (quiet, never silent) however low.
int MixerVolume(int32_t hundredthsDb);

}  // namespace kx
