#include "sound/uSoundEffect.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "sound/uWavFile.h"

namespace kx {

TSoundEffect::~TSoundEffect() {
  Clear();
  try {
    if (m_mayPlay) StopAll();
  } catch (const std::exception& e) {
    // a device that fails while closing has nothing more to stop
    m_errors.Report("sound", e.what());
  }
}

void TSoundEffect::Load(int channel, const std::string& file) {
  if (channel < 0 || channel >= ISoundChannels::kChannelCount) return;
  if (SoundFiles.size() <= size_t(channel)) SoundFiles.resize(size_t(channel) + 1);
  SoundFiles[size_t(channel)] = file;
  if (!m_channels) return;
  m_channels->Unload(channel);  // a file that fails leaves the channel empty
  TWavSound wav = ReadWavFile(file);
  m_channels->Load(channel, {file, wav.Info.Format(), std::move(wav.Samples)});
}

void TSoundEffect::Play(int i, bool loop) {
  if (i < 0 || size_t(i) >= SoundFiles.size() || SoundFiles[size_t(i)].empty() || !m_channels) return;
  const int64_t volume = int64_t(Volume) * 40 - 4000;
  m_channels->SetVolume(i, int32_t(std::clamp<int64_t>(volume, ISoundChannels::kMinVolume, ISoundChannels::kFullVolume)));
  m_channels->Play(i, loop);
  m_mayPlay = true;
}

void TSoundEffect::StopAll() {
  if (m_channels) m_channels->StopAll();
  m_mayPlay = false;
}

}  // namespace kx
