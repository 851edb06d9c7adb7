#include "devices/sdl/uSdlSound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "devices/uWavHeader.h"

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
  std::shared_ptr<Mix_Chunk> chunk;
  for (const TLoaded& other : m_loaded)
    if (other.Chunk && other.Samples == sound.Samples && other.Format == sound.Format) chunk = other.Chunk;
  if (!chunk) chunk = Decode(sound);
  m_loaded[size_t(channel)] = {sound.Samples, sound.Format, std::move(chunk)};
}

std::shared_ptr<Mix_Chunk> TSdlSoundChannels::Decode(const TPcmSound& sound) {
  // Converting to the device's rate and format may enlarge the sound many
  // times over (8-bit mono at 8 kHz to 16-bit stereo at 44.1 kHz: 22 times),
  // and the mixer reads the WAV image through an int-sized window.
  const std::string& samples = sound.Bytes();
  const uint64_t frames = sound.Frames() * uint64_t(m_audio.Frequency()) / sound.Format.SampleRate + 1;
  if (frames * uint64_t(m_audio.FrameBytes()) > kMaxDecodedBytes || samples.size() > size_t(INT_MAX) - kWavHeaderBytes)
    throw TSoundError("sound too long: " + sound.Name);
  const std::string image = WavHeader(sound.Format, uint32_t(samples.size())) + samples;
  SDL_RWops* rw = SDL_RWFromConstMem(image.data(), int(image.size()));
  Mix_Chunk* chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
  if (!chunk) throw TSoundError("cannot decode " + sound.Name + ": " + Mix_GetError());
  // Freeing a chunk halts every channel still playing it; by then none is.
  return std::shared_ptr<Mix_Chunk>(chunk, [](Mix_Chunk* c) { Mix_FreeChunk(c); });
}

void TSdlSoundChannels::Unload(int channel) {
  if (ValidChannel(channel)) Free(channel);
}

void TSdlSoundChannels::Play(int channel, bool loop) {
  if (!ValidChannel(channel) || !m_loaded[size_t(channel)].Chunk) return;
  Mix_Volume(channel, m_volumes[size_t(channel)]);
  Mix_PlayChannel(channel, m_loaded[size_t(channel)].Chunk.get(), loop ? -1 : 0);
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
