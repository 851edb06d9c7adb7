#include "devices/sdl/uSdlSound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>

namespace kx {
namespace {

bool ValidChannel(int channel) { return channel >= 0 && channel < ISoundChannels::kChannelCount; }

}  // namespace

int MixerVolume(int32_t hundredthsDb) {
  const int32_t db = std::clamp(hundredthsDb, ISoundChannels::kMinVolume, ISoundChannels::kFullVolume);
  const double gain = std::pow(10.0, double(db) / 2000.0);
  return std::clamp(int(std::lround(gain * MIX_MAX_VOLUME)), 1, MIX_MAX_VOLUME);
}

TSdlSoundChannels::~TSdlSoundChannels() {
  for (int c = kChannelCount - 1; c >= 0; --c) Free(c);
}

void TSdlSoundChannels::Free(int channel) {
  TLoaded& loaded = m_loaded[size_t(channel)];
  if (!loaded.Chunk) return;
  Mix_HaltChannel(channel);  // the chunk may live on in other channels
  loaded = {};
}

void TSdlSoundChannels::Load(int channel, const TPcmSound& sound) {
  if (!ValidChannel(channel)) throw TSoundError("no sound channel " + std::to_string(channel));
  Free(channel);
  CheckPcmSound(sound);
  TLoaded loaded{sound, nullptr, nullptr};
  for (const TLoaded& other : m_loaded)
    if (other.Chunk && other.Sound.Samples == sound.Samples && other.Sound.Format == sound.Format) {
      loaded.Chunk = other.Chunk;
      loaded.LoopChunk = other.LoopChunk;
    }
  if (!loaded.Chunk) loaded.Chunk = ConvertSound(m_audio, sound, false);
  m_loaded[size_t(channel)] = std::move(loaded);
}

Mix_Chunk* TSdlSoundChannels::LoopChunk(int channel) {
  TLoaded& loaded = m_loaded[size_t(channel)];
  if (!loaded.LoopChunk) {
    try {
      loaded.LoopChunk = ConvertSound(m_audio, loaded.Sound, true);
    } catch (const TSoundError&) {
      // It converted for playing once, with fewer frames; should looping
      // fail after all, the loop clicks rather than stays silent.
      loaded.LoopChunk = loaded.Chunk;
    }
    for (TLoaded& other : m_loaded)
      if (other.Chunk == loaded.Chunk) other.LoopChunk = loaded.LoopChunk;
  }
  return loaded.LoopChunk.get();
}

void TSdlSoundChannels::Unload(int channel) {
  if (ValidChannel(channel)) Free(channel);
}

void TSdlSoundChannels::Play(int channel, bool loop) {
  if (!ValidChannel(channel) || !m_loaded[size_t(channel)].Chunk) return;
  Mix_Volume(channel, m_volumes[size_t(channel)]);
  Mix_PlayChannel(channel, loop ? LoopChunk(channel) : m_loaded[size_t(channel)].Chunk.get(), loop ? -1 : 0);
}

void TSdlSoundChannels::Stop(int channel) {
  if (ValidChannel(channel)) Mix_HaltChannel(channel);
}

void TSdlSoundChannels::SetVolume(int channel, int32_t hundredthsDb) {
  if (!ValidChannel(channel)) return;
  m_volumes[size_t(channel)] = MixerVolume(hundredthsDb);
  Mix_Volume(channel, m_volumes[size_t(channel)]);
}

void TSdlSoundChannels::StopAll() {
  for (int c = 0; c < kChannelCount; ++c) Mix_HaltChannel(c);
}

}  // namespace kx
