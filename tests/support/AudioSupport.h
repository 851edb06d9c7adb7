// Builds small audio files for tests: WAV images of any format, decoded
// sounds, and the headers that tell an Ogg, FLAC or MPEG file's length.
#pragma once

#include <cstdint>
#include <string>

#include "devices/uSound.h"

namespace kxtest {

inline void PutLe(std::string& s, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s += char(i < 8 ? v >> (8 * i) & 0xFF : 0);
}
inline void PutBe(std::string& s, uint64_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) s += char(v >> (8 * i) & 0xFF);
}

struct TWavLayout {
  uint16_t Tag = 1;
  uint16_t Channels = 1;
  uint32_t Rate = 8000;
  uint16_t Bits = 16;
  uint32_t Frames = 800;
  int64_t DataSizeField = -1;  // the data chunk's size field; -1: the true size
  uint16_t BlockAlign = 0;     // 0: channels x bits / 8
};

// A WAV image: "RIFF" header, a 16-byte format chunk, the data chunk of
// Frames frames of a quiet square wave.
inline std::string MakeWav(const TWavLayout& w) {
  const uint16_t align = w.BlockAlign ? w.BlockAlign : uint16_t(w.Channels * w.Bits / 8);
  std::string data;
  for (uint32_t f = 0; f < w.Frames; ++f)
    for (uint32_t b = 0; b < align; ++b) data += char((f / 20 % 2) ? 0x10 : 0xF0);
  std::string s = "RIFF";
  PutLe(s, 36 + data.size(), 4);
  s += "WAVEfmt ";
  PutLe(s, 16, 4);
  PutLe(s, w.Tag, 2);
  PutLe(s, w.Channels, 2);
  PutLe(s, w.Rate, 4);
  PutLe(s, uint64_t(w.Rate) * align, 4);
  PutLe(s, align, 2);
  PutLe(s, w.Bits, 2);
  s += "data";
  PutLe(s, w.DataSizeField >= 0 ? uint64_t(w.DataSizeField) : data.size(), 4);
  return s + data;
}

// A decoded sound as the channels take it: `frames` frames of the format.
inline kx::TPcmSound MakePcm(const std::string& name, const kx::TPcmFormat& format = {kx::kPcmInteger, 1, 8000, 16},
                             size_t frames = 800) {
  return {name, format, std::string(frames * format.FrameBytes(), '\x10')};
}

// One Ogg page header (27 bytes plus its segment table) with one segment
// holding `packet`; CRC left zero (the length reader does not check it).
inline std::string OggPage(uint64_t granule, const std::string& packet) {
  std::string s = "OggS";
  s += char(0);  // version
  s += char(0);  // flags
  PutLe(s, granule, 8);
  PutLe(s, 1, 4);  // serial
  PutLe(s, 0, 4);  // sequence
  PutLe(s, 0, 4);  // CRC
  s += char(1);
  s += char(packet.size());
  return s + packet;
}

inline std::string VorbisIdPacket(uint32_t rate) {
  std::string p = "\x01vorbis";
  PutLe(p, 0, 4);  // version
  p += char(2);    // channels
  PutLe(p, rate, 4);
  PutLe(p, 0, 12);  // bitrates
  p += char(0xB8);
  p += char(1);
  return p;
}

inline std::string OpusHeadPacket(uint16_t preSkip) {
  std::string p = "OpusHead";
  p += char(1);
  p += char(2);
  PutLe(p, preSkip, 2);
  PutLe(p, 48000, 4);
  PutLe(p, 0, 2);
  p += char(0);
  return p;
}

// A native FLAC stream header: "fLaC" and a last STREAMINFO block.
inline std::string FlacHeader(uint32_t rate, uint64_t samples) {
  std::string s = "fLaC";
  s += char(0x80);  // last block, STREAMINFO
  PutBe(s, 34, 3);
  PutBe(s, 4096, 2);
  PutBe(s, 4096, 2);
  PutBe(s, 0, 3);
  PutBe(s, 0, 3);
  // 20 bits rate, 3 bits channels - 1, 5 bits bits - 1, 36 bits samples
  const uint64_t packed = uint64_t(rate) << 44 | uint64_t(1) << 41 | uint64_t(15) << 36 | (samples & 0xFFFFFFFFFull);
  PutBe(s, packed, 8);
  s += std::string(16, '\0');  // MD5
  return s;
}

// An MPEG 1 layer III frame at 128 kbit/s, 44.1 kHz, stereo: 417 bytes.
// With xingFrames > 0 it carries a Xing header counting that many frames.
inline std::string Mp3Frame(uint32_t xingFrames = 0) {
  std::string s("\xFF\xFB\x90\x00", 4);
  s += std::string(32, '\0');
  if (xingFrames) {
    s += "Xing";
    PutBe(s, 1, 4);
    PutBe(s, xingFrames, 4);
  }
  s.resize(417, '\0');
  return s;
}

}  // namespace kxtest
