#include "sound/uSoundEffect.h"

#include <algorithm>
#include <exception>
#include <memory>
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
  const TReadFile& read = Read(file);
  if (read.Failed) throw TSoundError(read.Error);
  m_channels->Load(channel, read.Sound);
}

const TSoundEffect::TReadFile& TSoundEffect::Read(const std::string& file) {
  if (auto found = m_read.find(file); found != m_read.end()) return found->second;
  TReadFile read;
  try {
    TWavSound wav = ReadWavFile(file);
    read.Sound = {file, wav.Info.Format(), std::make_shared<const std::string>(std::move(wav.Samples))};
  } catch (const TSoundError& e) {
    read.Failed = true;
    read.Error = e.what();
  }
  return m_read.emplace(file, std::move(read)).first->second;
}

void TSoundEffect::Clear() {
  SoundFiles.clear();
  m_read.clear();
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
