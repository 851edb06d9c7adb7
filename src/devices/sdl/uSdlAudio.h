// SDL2_mixer's audio device, opened once for the sound channels and the music
// player of a show. Without a usable device (no sound card, no sound server,
// a driver that fails) there is none, and the show runs silent.
#pragma once

#include <cstdint>
#include <memory>

namespace kx {

class TSdlAudio {
 public:
  // The opened mixer with eight channels reserved for the sound effects, or
  // null when no audio device can be opened. One at a time.
  static std::unique_ptr<TSdlAudio> Open();
  ~TSdlAudio();
  TSdlAudio(const TSdlAudio&) = delete;
  TSdlAudio& operator=(const TSdlAudio&) = delete;

  // The device's format: sample frames per second and bytes per frame.
  int32_t Frequency() const { return m_frequency; }
  int32_t FrameBytes() const { return m_frameBytes; }

 private:
  TSdlAudio() = default;
  int32_t m_frequency = 0, m_frameBytes = 0;
};

}  // namespace kx
