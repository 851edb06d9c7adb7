#include "devices/headless/uHeadlessSound.h"

#include <algorithm>

#include "os/uFileAccess.h"

namespace kx {
namespace {

bool ValidChannel(int channel) { return channel >= 0 && channel < ISoundChannels::kChannelCount; }

}  // namespace

void TSoundLog::Add(std::string line) {
  m_records.push_back({m_clock.Tick(), std::move(line)});
  if (m_onRecord) m_onRecord(m_records.back());
}

void THeadlessSoundChannels::Load(int channel, const TPcmSound& sound) {
  if (!ValidChannel(channel)) throw TSoundError("no sound channel " + std::to_string(channel));
  m_loaded[size_t(channel)] = false;
  CheckPcmSound(sound);  // throws as the real channels do
  m_loaded[size_t(channel)] = true;
  m_log.Add("sound load " + std::to_string(channel) + " " + sound.Name);
}

void THeadlessSoundChannels::Unload(int channel) {
  if (ValidChannel(channel)) m_loaded[size_t(channel)] = false;
}

void THeadlessSoundChannels::Play(int channel, bool loop) {
  if (!ValidChannel(channel) || !m_loaded[size_t(channel)]) return;
  m_log.Add("sound play " + std::to_string(channel) + (loop ? " loop " : " once ") +
            std::to_string(m_volumes[size_t(channel)]));
}

void THeadlessSoundChannels::Stop(int channel) {
  if (ValidChannel(channel)) m_log.Add("sound stop " + std::to_string(channel));
}

void THeadlessSoundChannels::SetVolume(int channel, int32_t hundredthsDb) {
  if (ValidChannel(channel)) m_volumes[size_t(channel)] = std::clamp(hundredthsDb, kMinVolume, kFullVolume);
}

void THeadlessSoundChannels::StopAll() { m_log.Add("sound stop-all"); }

void THeadlessMusicPlayer::Open(const std::string& path) {
  Close();
  if (!FileExists(path)) throw TSoundError("cannot open " + path);
  m_length = (m_trackLength ? m_trackLength(path) : std::nullopt).value_or(kUnknownLengthMs);
  m_open = true;
  m_log.Add("music open " + path);
}

void THeadlessMusicPlayer::Play() {
  if (!m_open) throw TSoundError("no track is open");
  m_playing = true;
  m_endTaken = false;
  m_started = m_log.Clock().Tick();
  m_log.Add("music play");
}

void THeadlessMusicPlayer::Close() { m_open = m_playing = m_endTaken = false; }

uint32_t THeadlessMusicPlayer::Position() {
  if (!m_open || !m_playing) return 0;
  return std::min(m_length, m_log.Clock().Tick() - m_started);
}

void THeadlessMusicPlayer::SetVolume(int32_t volume) {
  m_log.Add("music volume " + std::to_string(std::clamp(volume, 0, kMaxVolume)));
}

std::optional<uint32_t> THeadlessMusicPlayer::EndTick() const {
  if (!m_playing || m_endTaken) return std::nullopt;
  return m_started + m_length;
}

bool THeadlessMusicPlayer::TakeTrackEnd() {
  if (!m_playing || m_endTaken || m_log.Clock().Tick() - m_started < m_length) return false;
  m_endTaken = true;
  m_log.Add("music end");
  return true;
}

}  // namespace kx
