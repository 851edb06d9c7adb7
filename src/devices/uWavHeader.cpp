#include "devices/uWavHeader.h"

namespace kx {

std::string WavHeader(const TPcmFormat& format, uint32_t dataBytes) {
  std::string out;
  out.reserve(kWavHeaderBytes);
  auto u16 = [&](uint32_t v) { out += char(v & 0xFF), out += char(v >> 8 & 0xFF); };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
  out += "RIFF";
  u32(kWavHeaderBytes - 8 + dataBytes);
  out += "WAVEfmt ";
  u32(16);
  u16(format.FormatTag);
  u16(format.Channels);
  u32(format.SampleRate);
  u32(format.SampleRate * format.FrameBytes());
  u16(format.FrameBytes());
  u16(format.BitsPerSample);
  out += "data";
  u32(dataBytes);
  return out;
}

}  // namespace kx
