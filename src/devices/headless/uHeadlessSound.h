// Sound and music devices without a sound card: nothing is heard, every
// operation is recorded as a line of text, stamped with the clock's tick.
// Sounds are checked as the real channels check them (one they would refuse
// fails here too), and a track lasts the length its maker is told: under the
// virtual clock its end arrives when that much virtual time has passed.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "devices/uMusic.h"
#include "devices/uSound.h"
#include "os/uClock.h"

namespace kx {

struct TSoundRecord {
  uint32_t Tick = 0;
  std::string Line;  // "sound play 0 loop -800", "music open <path>", ...
};

// The lines of both devices, in the order they happened.
class TSoundLog {
 public:
  explicit TSoundLog(IClock& clock) : m_clock(clock) {}
  // Called with every record as it is made.
  void OnRecord(std::function<void(const TSoundRecord&)> handler) { m_onRecord = std::move(handler); }
  void Add(std::string line);
  const std::vector<TSoundRecord>& Records() const { return m_records; }
  IClock& Clock() { return m_clock; }

 private:
  IClock& m_clock;
  std::vector<TSoundRecord> m_records;
  std::function<void(const TSoundRecord&)> m_onRecord;
};

// Lines: "sound load <channel> <sound's name>" (loaded only; emptying a
// channel is not recorded), "sound play <channel> once|loop <hundredths of a
// dB>", "sound stop <channel>", "sound stop-all".
class THeadlessSoundChannels final : public ISoundChannels {
 public:
  explicit THeadlessSoundChannels(TSoundLog& log) : m_log(log) {}
  void Load(int channel, const TPcmSound& sound) override;
  void Unload(int channel) override;
  void Play(int channel, bool loop) override;
  void Stop(int channel) override;
  void SetVolume(int channel, int32_t hundredthsDb) override;
  void StopAll() override;

 private:
  TSoundLog& m_log;
  std::array<bool, kChannelCount> m_loaded{};
  std::array<int32_t, kChannelCount> m_volumes{};
};

// Lines: "music open <path>", "music volume <0..1000>", "music play",
// "music end". A track lasts what trackLength tells of its file (whoever
// builds the player reads the file's headers); one whose length cannot be
// told lasts kUnknownLengthMs.
class THeadlessMusicPlayer final : public IMusicPlayer {
 public:
  static constexpr uint32_t kUnknownLengthMs = 180000;
  // A track's length in milliseconds, or nullopt when it cannot be told.
  using TTrackLength = std::function<std::optional<uint32_t>(const std::string& path)>;

  THeadlessMusicPlayer(TSoundLog& log, TTrackLength trackLength)
      : m_log(log), m_trackLength(std::move(trackLength)) {}
  void Open(const std::string& path) override;
  void Play() override;
  void Close() override;
  uint32_t Position() override;
  uint32_t Length() override { return m_open ? m_length : 0; }
  void SetVolume(int32_t volume) override;
  bool TakeTrackEnd() override;
  // The tick at which the playing track ends, until its end is taken.
  std::optional<uint32_t> EndTick() const;

 private:
  TSoundLog& m_log;
  TTrackLength m_trackLength;
  bool m_open = false, m_playing = false, m_endTaken = false;
  uint32_t m_length = 0, m_started = 0;
};

}  // namespace kx
