#include "sound/uWavFile.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "devices/uSound.h"
#include "devices/uWavHeader.h"

namespace kx {
namespace {

constexpr int kMaxChunks = 10000;

void Fail(const char* what) { throw TSoundError(std::string("not a WAV sound: ") + what); }

// Reads the format chunk's fields; the extensible form names its real format
// in the first two bytes of its sub-format.
TWavInfo ReadFormat(IByteSource& source, uint64_t offset, uint32_t size) {
  if (size < 16) Fail("short format chunk");
  uint8_t f[40] = {};
  if (!source.ReadExact(offset, f, std::min<uint32_t>(size, sizeof f))) Fail("truncated format chunk");
  TWavInfo info;
  info.FormatTag = Le16(f);
  info.Channels = Le16(f + 2);
  info.SampleRate = Le32(f + 4);
  info.BlockAlign = Le16(f + 12);
  info.BitsPerSample = Le16(f + 14);
  if (info.FormatTag == 0xFFFE) {
    if (size < 40 || Le16(f + 16) < 22) Fail("short extensible format");
    info.FormatTag = Le16(f + 24);
  }
  if (const char* problem = PcmFormatProblem(info.Format())) Fail(problem);
  if (info.BlockAlign != info.Channels * info.BitsPerSample / 8) Fail("inconsistent block size");
  return info;
}

}  // namespace

uint32_t TWavInfo::DurationMs() const {
  if (SampleRate == 0 || BlockAlign == 0) return 0;
  const uint64_t ms = Frames() * 1000 / SampleRate;
  return uint32_t(std::min<uint64_t>(ms, std::numeric_limits<uint32_t>::max()));
}

TWavInfo ParseWav(IByteSource& source) {
  uint8_t header[12];
  if (!source.ReadExact(0, header, sizeof header) || std::memcmp(header, "RIFF", 4) != 0 ||
      std::memcmp(header + 8, "WAVE", 4) != 0)
    Fail("no RIFF WAVE header");
  const uint64_t end = source.Size();
  bool haveFormat = false, haveData = false;
  TWavInfo info;
  uint64_t dataOffset = 0, dataBytes = 0;
  uint64_t at = 12;
  for (int chunk = 0; chunk < kMaxChunks && at + 8 <= end && !(haveFormat && haveData); ++chunk) {
    uint8_t h[8];
    if (!source.ReadExact(at, h, sizeof h)) break;
    const uint32_t size = Le32(h + 4);
    const uint64_t body = at + 8;
    if (std::memcmp(h, "fmt ", 4) == 0 && !haveFormat) {
      info = ReadFormat(source, body, size);
      haveFormat = true;
    } else if (std::memcmp(h, "data", 4) == 0 && !haveData) {
      dataOffset = body;
      dataBytes = std::min<uint64_t>(size, end - body);
      haveData = true;
    }
    at = body + uint64_t(size) + (size & 1u);  // chunks are padded to even sizes
  }
  if (!haveFormat) Fail("no format chunk");
  if (!haveData) Fail("no data chunk");
  info.DataOffset = dataOffset;
  info.DataBytes = dataBytes - dataBytes % info.BlockAlign;
  if (info.DataBytes == 0) Fail("no samples");
  return info;
}

TWavSound ReadWavFile(const std::string& path) {
  TFileSource file(path);
  if (file.Size() > kMaxWavFileBytes) throw TSoundError("sound file too large: " + path);
  TWavSound sound;
  sound.Info = ParseWav(file);
  sound.Samples.resize(size_t(sound.Info.DataBytes));
  if (!file.ReadExact(sound.Info.DataOffset, sound.Samples.data(), sound.Samples.size()))
    throw TSoundError("cannot read " + path);
  return sound;
}

std::string CanonicalWav(const TWavSound& sound) {
  return WavHeader(sound.Info.Format(), uint32_t(sound.Samples.size())) + sound.Samples;
}

}  // namespace kx
