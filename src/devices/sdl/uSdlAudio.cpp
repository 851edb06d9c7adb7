#include "devices/sdl/uSdlAudio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "devices/uSound.h"
#include "os/uFileAccess.h"

namespace kx {
namespace {

// MIDI tracks need a General MIDI sound font; Debian's sound-font packages
// install theirs under these names.
void ChooseSoundFont() {
  if (Mix_GetSoundFonts()) return;
  for (const char* path : {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
                           "/usr/share/sounds/sf2/TimGM6mb.sf2"}) {
    if (IsRegularFile(path)) {
      Mix_SetSoundFonts(path);
      return;
    }
  }
}

}  // namespace

std::unique_ptr<TSdlAudio> TSdlAudio::Open() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS) != 0) return nullptr;
  // Each format's decoder loads when present; a missing one only leaves its
  // files unplayable.
  Mix_Init(MIX_INIT_FLAC | MIX_INIT_MOD | MIX_INIT_MP3 | MIX_INIT_OGG | MIX_INIT_MID | MIX_INIT_OPUS);
  if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS);
    return nullptr;
  }
  Mix_AllocateChannels(ISoundChannels::kChannelCount);
  Mix_ReserveChannels(ISoundChannels::kChannelCount);
  ChooseSoundFont();
  std::unique_ptr<TSdlAudio> audio(new TSdlAudio());
  int frequency = 0, channels = 0;
  Uint16 format = 0;
  Mix_QuerySpec(&frequency, &format, &channels);
  audio->m_frequency = frequency;
  audio->m_frameBytes = int32_t(SDL_AUDIO_BITSIZE(format) / 8 * channels);
  return audio;
}

TSdlAudio::~TSdlAudio() {
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS);
}

}  // namespace kx
