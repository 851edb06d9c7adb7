#include "devices/uSound.h"

namespace kx {

const char* PcmFormatProblem(const TPcmFormat& format) {
  const uint16_t bits = format.BitsPerSample;
  const bool integer = format.FormatTag == kPcmInteger && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
  const bool real = format.FormatTag == kPcmFloat && bits == 32;
  if (!integer && !real) return "unsupported sample format";
  if (format.Channels < 1 || format.Channels > 8) return "unsupported channel count";
  if (format.SampleRate < 1000 || format.SampleRate > 384000) return "unsupported sample rate";
  return nullptr;
}

const std::string& TPcmSound::Bytes() const {
  static const std::string none;
  return Samples ? *Samples : none;
}

void CheckPcmSound(const TPcmSound& sound) {
  if (const char* problem = PcmFormatProblem(sound.Format))
    throw TSoundError("cannot play " + sound.Name + ": " + problem);
  if (sound.Bytes().empty() || sound.Bytes().size() % sound.Format.FrameBytes() != 0)
    throw TSoundError("cannot play " + sound.Name + ": no whole sample frames");
}

}  // namespace kx
