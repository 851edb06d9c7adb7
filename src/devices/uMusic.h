// What the show needs of a music player: one track at a time opened by file
// name, played with a notification when it ends, its position and length,
// and a volume.
#pragma once

#include <cstdint>
#include <string>

#include "devices/uSound.h"

namespace kx {

class IMusicPlayer {
 public:
  static constexpr int32_t kMaxVolume = 1000;

  virtual ~IMusicPlayer() = default;

  // Opens the track, replacing any open one. Throws TSoundError when the
  // file cannot be opened or is no track the player can play.
  virtual void Open(const std::string& path) = 0;
  // Starts the open track; its end is reported once by TakeTrackEnd. Throws
  // TSoundError when it cannot start.
  virtual void Play() = 0;
  // Stops and closes the open track (no end is reported for it).
  virtual void Close() = 0;
  // Milliseconds played of the open track, and its length (0 when the
  // player cannot tell). Once the track has ended the position is its length.
  virtual uint32_t Position() = 0;
  virtual uint32_t Length() = 0;
  // 0..1000; values outside are taken as the nearest end.
  virtual void SetVolume(int32_t volume) = 0;
  // True once for each end of a played track, checked from the show's thread.
  virtual bool TakeTrackEnd() = 0;
};

}  // namespace kx
