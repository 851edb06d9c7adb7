#include "devices/sdl/uSdlChunk.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "devices/uWavHeader.h"

namespace kx {
namespace {

// Frames of the sound repeated before and after it when it loops: well over
// what SDL's resampler reads on either side of an output frame, which is a
// handful of input frames when raising the rate and proportionally more when
// lowering it.
uint64_t WrapFrames(uint32_t soundRate, int32_t deviceRate) {
  if (int64_t(soundRate) == deviceRate) return 0;  // no resampling: each frame converts alone
  return std::max<uint64_t>(1024, (uint64_t(1024) * soundRate + uint64_t(deviceRate) - 1) / uint64_t(deviceRate));
}

// The samples with `wrap` frames of the sound's end before them and of its
// beginning after them, repeating the sound as often as a short one needs.
std::string Wrapped(const TPcmSound& sound, uint64_t wrap) {
  const std::string& samples = sound.Bytes();
  const uint64_t frames = sound.Frames(), frameBytes = sound.Format.FrameBytes();
  std::string out;
  out.reserve(size_t((frames + 2 * wrap) * frameBytes));
  for (uint64_t i = 0; i < wrap; ++i) {
    const uint64_t f = (frames - wrap % frames + i) % frames;
    out.append(samples, size_t(f * frameBytes), size_t(frameBytes));
  }
  out += samples;
  for (uint64_t i = 0; i < wrap; ++i) out.append(samples, size_t(i % frames * frameBytes), size_t(frameBytes));
  return out;
}

}  // namespace

std::shared_ptr<Mix_Chunk> ConvertSound(const TSdlAudio& audio, const TPcmSound& sound, bool looping) {
  // Converting to the device's rate and format may enlarge the sound many
  // times over (8-bit mono at 8 kHz to 16-bit stereo at 44.1 kHz: 22 times),
  // and the mixer reads the WAV image through an int-sized window.
  const uint64_t wrap = looping ? WrapFrames(sound.Format.SampleRate, audio.Frequency()) : 0;
  const uint64_t frames = sound.Frames() + 2 * wrap;
  const uint64_t converted = frames * uint64_t(audio.Frequency()) / sound.Format.SampleRate + 1;
  if (converted * uint64_t(audio.FrameBytes()) > kMaxChunkBytes ||
      frames * sound.Format.FrameBytes() > uint64_t(INT_MAX) - kWavHeaderBytes)
    throw TSoundError("sound too long: " + sound.Name);
  const std::string samples = wrap ? Wrapped(sound, wrap) : sound.Bytes();
  const std::string image = WavHeader(sound.Format, uint32_t(samples.size())) + samples;
  SDL_RWops* rw = SDL_RWFromConstMem(image.data(), int(image.size()));
  Mix_Chunk* chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
  if (!chunk) throw TSoundError("cannot decode " + sound.Name + ": " + Mix_GetError());
  if (wrap) {
    // Output frame j stands for the time of input frame j * rate in / rate out:
    // the round starts where the sound's own first frame went.
    const uint64_t in = sound.Format.SampleRate, out = uint64_t(audio.Frequency());
    const uint64_t frameBytes = uint64_t(audio.FrameBytes()), have = chunk->alen / frameBytes;
    const uint64_t skip = std::min(have, (wrap * out + in / 2) / in);
    const uint64_t keep = std::min(have - skip, std::max<uint64_t>(1, (sound.Frames() * out + in / 2) / in));
    std::memmove(chunk->abuf, chunk->abuf + skip * frameBytes, size_t(keep * frameBytes));
    chunk->alen = Uint32(keep * frameBytes);
  }
  // Freeing a chunk halts every channel still playing it; by then none is.
  return std::shared_ptr<Mix_Chunk>(chunk, [](Mix_Chunk* c) { Mix_FreeChunk(c); });
}

}  // namespace kx
