// What the show needs of a sound output: eight independent channels, each
// holding one decoded WAV sound that plays once or looping at its own volume.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kx {

// A sound or music file that cannot be read, decoded or opened.
class TSoundError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ISoundChannels {
 public:
  static constexpr int kChannelCount = 8;
  // The volume scale: hundredths of a decibel, 0 full, -4000 at -40 dB.
  static constexpr int32_t kFullVolume = 0;
  static constexpr int32_t kMinVolume = -10000;

  virtual ~ISoundChannels() = default;

  // Decodes the WAV file into channel (0..7), replacing and stopping what it
  // held. Throws TSoundError when the file cannot be read or decoded; the
  // channel is then empty.
  virtual void Load(int channel, const std::string& path) = 0;
  // Starts the channel's sound from its beginning, repeating when loop. An
  // empty channel stays silent.
  virtual void Play(int channel, bool loop) = 0;
  virtual void Stop(int channel) = 0;
  // The channel's volume in hundredths of a decibel (kMinVolume..0; values
  // outside are taken as the nearest end).
  virtual void SetVolume(int channel, int32_t hundredthsDb) = 0;
  virtual void StopAll() = 0;
};

}  // namespace kx
