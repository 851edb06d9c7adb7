#include "sound/uAudioDuration.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <vector>

#include "devices/uSound.h"
#include "sound/uWavFile.h"

namespace kx {
namespace {

using TDuration = std::optional<uint32_t>;

TDuration Milliseconds(uint64_t samples, uint32_t rate) {
  if (rate == 0) return std::nullopt;
  const unsigned __int128 ms = (unsigned __int128)samples * 1000 / rate;
  return uint32_t(std::min<unsigned __int128>(ms, std::numeric_limits<uint32_t>::max()));
}

// --- Ogg ---------------------------------------------------------------

constexpr size_t kOggTail = 65536;  // a page is at most 65307 bytes

// The sample rate of the first page's packet, and the samples to skip
// before the first one counts (Opus's pre-skip).
bool OggStreamRate(IByteSource& source, uint32_t& rate, uint64_t& preSkip) {
  uint8_t page[27 + 255 + 32];
  const size_t n = source.Read(0, page, sizeof page);
  if (n < 27 || std::memcmp(page, "OggS", 4) != 0) return false;
  const size_t segments = page[26];
  const size_t packet = 27 + segments;
  if (packet + 19 > n) return false;
  const uint8_t* p = page + packet;
  if (p[0] == 1 && std::memcmp(p + 1, "vorbis", 6) == 0) {
    rate = Le32(p + 12);
    preSkip = 0;
    return rate > 0;
  }
  if (std::memcmp(p, "OpusHead", 8) == 0) {
    rate = 48000;  // Opus granules count at 48 kHz whatever the input rate
    preSkip = Le16(p + 10);
    return true;
  }
  return false;
}

TDuration OggDuration(IByteSource& source) {
  uint32_t rate = 0;
  uint64_t preSkip = 0;
  if (!OggStreamRate(source, rate, preSkip)) return std::nullopt;
  const uint64_t size = source.Size();
  const uint64_t start = size > kOggTail ? size - kOggTail : 0;
  std::vector<uint8_t> tail(size_t(size - start));
  if (!source.ReadExact(start, tail.data(), tail.size())) return std::nullopt;
  // The last page header that carries a granule position ends the stream.
  for (size_t i = tail.size() >= 27 ? tail.size() - 27 + 1 : 0; i-- > 0;) {
    if (std::memcmp(&tail[i], "OggS", 4) != 0 || tail[i + 4] != 0) continue;
    const uint64_t granule = Le64(&tail[i + 6]);
    if (granule == ~uint64_t(0)) continue;
    return Milliseconds(granule > preSkip ? granule - preSkip : 0, rate);
  }
  return std::nullopt;
}

// --- FLAC --------------------------------------------------------------

TDuration FlacDuration(IByteSource& source) {
  uint8_t h[8 + 34];
  if (!source.ReadExact(0, h, sizeof h) || (h[4] & 0x7F) != 0) return std::nullopt;  // STREAMINFO comes first
  const uint8_t* s = h + 8;
  const uint32_t rate = uint32_t(s[10]) << 12 | uint32_t(s[11]) << 4 | s[12] >> 4;
  const uint64_t samples = uint64_t(s[13] & 0x0F) << 32 | Be32(s + 14);
  if (samples == 0) return std::nullopt;  // unknown total
  return Milliseconds(samples, rate);
}

// --- MPEG audio --------------------------------------------------------

struct TMpegFrame {
  uint32_t Bytes = 0;    // the whole frame, header included
  uint32_t Samples = 0;  // per channel
  uint32_t Rate = 0;
  uint32_t SideInfo = 0;  // layer III side information after the header
};

constexpr uint16_t kBitrates[2][3][15] = {
    // MPEG 1: layers I, II, III
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
    // MPEG 2 and 2.5
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}},
};
constexpr uint32_t kRates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};

// The frame a 4-byte header describes; nullopt for no valid header (free
// format included, whose size only the next header would tell).
std::optional<TMpegFrame> MpegHeader(const uint8_t* h) {
  if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0) return std::nullopt;
  const int version = (h[1] >> 3) & 3;  // 0: 2.5, 2: 2, 3: 1
  const int layer = (h[1] >> 1) & 3;    // 1: III, 2: II, 3: I
  const int bitrateIndex = h[2] >> 4, rateIndex = (h[2] >> 2) & 3, padding = (h[2] >> 1) & 1;
  if (version == 1 || layer == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) return std::nullopt;
  const bool mpeg1 = version == 3;
  const int layerRow = 3 - layer;  // 0: I, 1: II, 2: III
  TMpegFrame f;
  f.Rate = kRates[mpeg1 ? 0 : version == 2 ? 1 : 2][rateIndex];
  const uint32_t bitrate = uint32_t(kBitrates[mpeg1 ? 0 : 1][layerRow][bitrateIndex]) * 1000;
  const bool mono = (h[3] >> 6) == 3;
  if (layerRow == 0) {
    f.Samples = 384;
    f.Bytes = (12 * bitrate / f.Rate + padding) * 4;
  } else if (layerRow == 1 || mpeg1) {
    f.Samples = 1152;
    f.Bytes = 144 * bitrate / f.Rate + padding;
  } else {
    f.Samples = 576;
    f.Bytes = 72 * bitrate / f.Rate + padding;
  }
  if (layerRow == 2) f.SideInfo = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
  return f;
}

constexpr uint64_t kMpegSyncWindow = 65536;        // bytes searched for the first frame
constexpr uint64_t kMpegScanBytes = uint64_t(8) << 20;  // frames summed before the rest is estimated

// The offset past an ID3v2 tag at the start, 0 without one.
uint64_t Id3Size(IByteSource& source) {
  uint8_t h[10];
  if (!source.ReadExact(0, h, sizeof h) || std::memcmp(h, "ID3", 3) != 0) return 0;
  if ((h[6] | h[7] | h[8] | h[9]) & 0x80) return 0;
  const uint64_t size = uint64_t(h[6]) << 21 | uint64_t(h[7]) << 14 | uint64_t(h[8]) << 7 | h[9];
  return 10 + size + ((h[5] & 0x10) ? 10 : 0);
}

// The first frame at or after `from` whose successor is a frame too, so that
// stray sync bits in a picture or a tag do not pass for music.
std::optional<uint64_t> FirstFrame(IByteSource& source, uint64_t from) {
  std::vector<uint8_t> window(size_t(kMpegSyncWindow) + 4);
  const size_t n = source.Read(from, window.data(), window.size());
  for (size_t i = 0; i + 4 <= n; ++i) {
    const std::optional<TMpegFrame> f = MpegHeader(&window[i]);
    if (!f) continue;
    uint8_t next[4];
    if (source.ReadExact(from + i + f->Bytes, next, 4) && MpegHeader(next)) return from + i;
  }
  return std::nullopt;
}

TDuration MpegDuration(IByteSource& source) {
  const std::optional<uint64_t> first = FirstFrame(source, Id3Size(source));
  if (!first) return std::nullopt;
  uint8_t h[4 + 32 + 4 + 8 + 36];
  const size_t got = source.Read(*first, h, sizeof h);
  const std::optional<TMpegFrame> f = MpegHeader(h);
  if (!f) return std::nullopt;

  // A Xing or Info header counts the frames of the whole stream.
  const size_t xing = 4 + f->SideInfo;
  if (f->SideInfo && xing + 12 <= got &&
      (std::memcmp(h + xing, "Xing", 4) == 0 || std::memcmp(h + xing, "Info", 4) == 0) && (h[xing + 7] & 1))
    return Milliseconds(uint64_t(Be32(h + xing + 8)) * f->Samples, f->Rate);
  // So does a VBRI header, 32 bytes after the frame header.
  if (36 + 18 <= got && std::memcmp(h + 36, "VBRI", 4) == 0)
    return Milliseconds(uint64_t(Be32(h + 36 + 14)) * f->Samples, f->Rate);

  // Otherwise the frames are summed; past the scanning limit the rest of the
  // file is taken to continue at the average size seen so far.
  const uint64_t size = source.Size();
  uint64_t at = *first, samples = 0, frames = 0;
  while (at + 4 <= size && at - *first < kMpegScanBytes) {
    uint8_t fh[4];
    if (!source.ReadExact(at, fh, 4)) break;
    const std::optional<TMpegFrame> frame = MpegHeader(fh);
    if (!frame || frame->Rate != f->Rate) break;
    samples += frame->Samples;
    ++frames;
    at += frame->Bytes;
  }
  if (at - *first >= kMpegScanBytes && frames > 0 && at < size) {
    const uint64_t averageBytes = std::max<uint64_t>(1, (at - *first) / frames);
    samples += (size - at) / averageBytes * f->Samples;
  }
  return Milliseconds(samples, f->Rate);
}

}  // namespace

TDuration AudioDurationMs(IByteSource& source) {
  uint8_t magic[12] = {};
  source.Read(0, magic, sizeof magic);
  try {
    if (std::memcmp(magic, "RIFF", 4) == 0 && std::memcmp(magic + 8, "WAVE", 4) == 0)
      return ParseWav(source).DurationMs();
  } catch (const TSoundError&) {
    return std::nullopt;
  }
  if (std::memcmp(magic, "OggS", 4) == 0) return OggDuration(source);
  if (std::memcmp(magic, "fLaC", 4) == 0) return FlacDuration(source);
  return MpegDuration(source);
}

std::optional<uint32_t> AudioFileDurationMs(const std::string& path) {
  try {
    TFileSource file(path);
    return AudioDurationMs(file);
  } catch (const TSoundError&) {
    return std::nullopt;
  }
}

}  // namespace kx
