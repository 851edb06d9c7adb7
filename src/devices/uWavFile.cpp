#include "devices/uWavFile.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "devices/uSound.h"

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
  const bool pcm = info.FormatTag == kWavPcm &&
                   (info.BitsPerSample == 8 || info.BitsPerSample == 16 || info.BitsPerSample == 24 ||
                    info.BitsPerSample == 32);
  const bool flt = info.FormatTag == kWavFloat && info.BitsPerSample == 32;
  if (!pcm && !flt) Fail("unsupported sample format");
  if (info.Channels < 1 || info.Channels > 8) Fail("unsupported channel count");
  if (info.SampleRate < 1000 || info.SampleRate > 384000) Fail("unsupported sample rate");
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
  const TWavInfo& i = sound.Info;
  std::string out;
  auto u16 = [&](uint32_t v) { out += char(v & 0xFF), out += char(v >> 8 & 0xFF); };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
  out += "RIFF";
  u32(uint32_t(36 + sound.Samples.size()));
  out += "WAVEfmt ";
  u32(16);
  u16(i.FormatTag);
  u16(i.Channels);
  u32(i.SampleRate);
  u32(i.SampleRate * i.BlockAlign);
  u16(i.BlockAlign);
  u16(i.BitsPerSample);
  out += "data";
  u32(uint32_t(sound.Samples.size()));
  out += sound.Samples;
  return out;
}

}  // namespace kx
