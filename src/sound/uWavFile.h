// WAV files for the sound channels: the RIFF structure is read and checked
// here, and the channels get the format and samples it found (TPcmSound),
// so a decoder behind them only ever sees a well-formed image whose sizes
// are true.
#pragma once

#include <cstdint>
#include <string>

#include "devices/uSound.h"
#include "sound/uByteSource.h"

namespace kx {

// Larger sound files are refused: reading and decoding one would stall the
// show, and no sound effect needs that much.
inline constexpr uint64_t kMaxWavFileBytes = uint64_t(64) << 20;

inline constexpr uint16_t kWavPcm = kPcmInteger;
inline constexpr uint16_t kWavFloat = kPcmFloat;

struct TWavInfo {
  uint16_t FormatTag = 0;  // kWavPcm or kWavFloat (the extensible form resolved)
  uint16_t Channels = 0;   // 1..8
  uint32_t SampleRate = 0;  // 1000..384000
  uint16_t BitsPerSample = 0;  // PCM 8, 16, 24 or 32; float 32
  uint16_t BlockAlign = 0;     // Channels x BitsPerSample / 8
  uint64_t DataOffset = 0;
  uint64_t DataBytes = 0;  // the whole sample frames the file holds, at least one

  uint64_t Frames() const { return DataBytes / BlockAlign; }
  TPcmFormat Format() const { return {FormatTag, Channels, SampleRate, BitsPerSample}; }
  // The playing time, whole milliseconds (at most 2^32 - 1).
  uint32_t DurationMs() const;
};

// Reads the "RIFF" / "WAVE" structure: its "fmt " and "data" chunks in any
// order among at most 10000 chunks. A data chunk that claims more than the
// file holds is cut to the whole frames present. Throws TSoundError for
// anything that is not PCM or float sound as described above.
TWavInfo ParseWav(IByteSource& source);

struct TWavSound {
  TWavInfo Info;
  std::string Samples;  // Info.DataBytes bytes of sample frames
};

// Reads and checks a WAV file; throws TSoundError when it cannot be read,
// is larger than kMaxWavFileBytes or is no WAV sound ParseWav accepts.
TWavSound ReadWavFile(const std::string& path);

// A minimal WAV image of the sound: the RIFF header, a plain "fmt " chunk
// and the "data" chunk, every size true.
std::string CanonicalWav(const TWavSound& sound);

}  // namespace kx
