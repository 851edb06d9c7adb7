// Fuzzes the decoding of every frame of an animated GIF with each choice of
// transparency, and the choice of frame by time.
#include <cstdint>
#include <span>

#include "raster/uDecodeError.h"
#include "raster/uGifFrames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  kx::TGifFrameOptions options;
  options.Transparent = (data[0] & 1) != 0;
  options.TransparentType = data[0] >> 1 & 3;
  options.RefreshFrame = (data[0] & 8) != 0;
  options.KeyColor = kx::MakePixel(data[0], 0, 0);
  options.MaxBytes = size_t(64) << 20;  // the fuzzer's memory limit is lower than the player's budget
  try {
    const kx::TGifFrames gif = kx::DecodeGifFrames(std::span(data + 1, size - 1), options);
    if (gif.Frames.empty() || gif.Frames.size() != gif.Delays.size()) __builtin_trap();
    for (const kx::TBitmap32& f : gif.Frames)
      if (f.Width() != gif.Width || f.Height() != gif.Height) __builtin_trap();
    for (uint64_t ms : {uint64_t(0), uint64_t(12345), UINT64_MAX})
      if (kx::GifFrameAt(gif.Delays, ms, int32_t(data[0]) * 4) >= gif.Frames.size()) __builtin_trap();
  } catch (const kx::TDecodeError&) {
  }
  return 0;
}
