// The music player on SDL2_mixer: one Mix_Music at a time. The mixer reports
// the end of a track on its audio thread; the hook only posts an SDL event of
// the player's own type, and the show's thread takes it from the queue in
// TakeTrackEnd. The mixer is never called from inside its callback.
#pragma once

#include <cstdint>

#include "devices/sdl/uSdlAudio.h"
#include "devices/uMusic.h"

typedef struct _Mix_Music Mix_Music;

namespace kx {

class TSdlMusicPlayer final : public IMusicPlayer {
 public:
  // One player at a time: the mixer has one end-of-music hook.
  explicit TSdlMusicPlayer(TSdlAudio& audio);
  ~TSdlMusicPlayer() override;
  TSdlMusicPlayer(const TSdlMusicPlayer&) = delete;
  TSdlMusicPlayer& operator=(const TSdlMusicPlayer&) = delete;

  void Open(const std::string& path) override;
  void Play() override;
  void Close() override;
  uint32_t Position() override;
  uint32_t Length() override;
  void SetVolume(int32_t volume) override;
  bool TakeTrackEnd() override;

 private:
  Mix_Music* m_music = nullptr;
  bool m_ended = false;
  int32_t m_play = 0;  // numbers the plays, so that the end of a closed track is not taken for the new one's
};

}  // namespace kx
