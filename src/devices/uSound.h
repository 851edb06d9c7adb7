// What the show needs of a sound output: eight independent channels, each
// holding one decoded sound that plays once or looping at its own volume.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

namespace kx {

// A sound or music file that cannot be read, decoded or opened.
class TSoundError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The sample formats, by the codes WAV files use for them.
inline constexpr uint16_t kPcmInteger = 1;  // 8 bits unsigned; 16, 24 or 32 bits signed
inline constexpr uint16_t kPcmFloat = 3;    // 32 bits

struct TPcmFormat {
  uint16_t FormatTag = 0;  // kPcmInteger or kPcmFloat
  uint16_t Channels = 0;
  uint32_t SampleRate = 0;
  uint16_t BitsPerSample = 0;

  uint32_t FrameBytes() const { return uint32_t(Channels) * BitsPerSample / 8; }
  bool operator==(const TPcmFormat&) const = default;
};

// What a channel cannot play in this format ("unsupported sample format",
// "unsupported channel count", "unsupported sample rate"), or nullptr when
// it can: 1 to 8 channels at 1000 to 384000 frames a second.
const char* PcmFormatProblem(const TPcmFormat& format);

// A decoded sound: whole frames of interleaved little-endian samples. The
// samples are shared, never changed: copies of one sound (several channels
// holding the same file) hold one block of samples, and a channel may tell
// by the block that it already holds that sound.
struct TPcmSound {
  TPcmSound() = default;
  TPcmSound(std::string name, const TPcmFormat& format, std::string samples)
      : Name(std::move(name)), Format(format), Samples(std::make_shared<const std::string>(std::move(samples))) {}
  TPcmSound(std::string name, const TPcmFormat& format, std::shared_ptr<const std::string> samples)
      : Name(std::move(name)), Format(format), Samples(std::move(samples)) {}

  std::string Name;  // where it came from (its file), for records and messages
  TPcmFormat Format;
  std::shared_ptr<const std::string> Samples;  // may be null: no samples

  // The sample bytes; empty when there are none.
  const std::string& Bytes() const;
  uint64_t Frames() const { return Format.FrameBytes() ? Bytes().size() / Format.FrameBytes() : 0; }
};

// Throws TSoundError unless the channels can play the sound: a format they
// take and at least one frame, whole frames only.
void CheckPcmSound(const TPcmSound& sound);

class ISoundChannels {
 public:
  static constexpr int kChannelCount = 8;
  // The volume scale: hundredths of a decibel, 0 full, -4000 at -40 dB.
  static constexpr int32_t kFullVolume = 0;
  static constexpr int32_t kMinVolume = -10000;

  virtual ~ISoundChannels() = default;

  // Puts the sound into channel (0..7), replacing and stopping what it held.
  // Throws TSoundError when the channel cannot take it (CheckPcmSound, or
  // the device's own limits); the channel is then empty.
  virtual void Load(int channel, const TPcmSound& sound) = 0;
  // Empties the channel (0..7), stopping what it played.
  virtual void Unload(int channel) = 0;
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
