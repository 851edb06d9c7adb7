#include "devices/sdl/uSdlMusic.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace kx {
namespace {

Uint32 g_endEvent = Uint32(-1);       // the SDL event type of a track's end
std::atomic<int32_t> g_playing{0};  // the play that an end belongs to; 0 none

// On the mixer's audio thread: posts the end, touches nothing else.
void MusicFinished() {
  SDL_Event e{};
  e.type = g_endEvent;
  e.user.code = g_playing.load();
  SDL_PushEvent(&e);
}

uint32_t Milliseconds(double seconds) {
  if (!(seconds > 0)) return 0;
  return uint32_t(std::min(seconds * 1000.0 + 0.5, 4294967295.0));
}

}  // namespace

TSdlMusicPlayer::TSdlMusicPlayer(TSdlAudio&) {
  if (g_endEvent == Uint32(-1)) g_endEvent = SDL_RegisterEvents(1);
  Mix_HookMusicFinished(MusicFinished);
}

TSdlMusicPlayer::~TSdlMusicPlayer() {
  Close();
  Mix_HookMusicFinished(nullptr);
  TakeTrackEnd();  // drops ends still queued
}

void TSdlMusicPlayer::Open(const std::string& path) {
  Close();
  m_music = Mix_LoadMUS(path.c_str());
  if (!m_music) throw TSoundError("cannot open " + path + ": " + Mix_GetError());
}

void TSdlMusicPlayer::Play() {
  if (!m_music) throw TSoundError("no track is open");
  m_ended = false;
  g_playing = ++m_play;
  if (Mix_PlayMusic(m_music, 0) != 0) {
    g_playing = 0;
    throw TSoundError(std::string("cannot play: ") + Mix_GetError());
  }
}

void TSdlMusicPlayer::Close() {
  g_playing = 0;  // halting calls the hook too: that end belongs to no play
  if (m_music) {
    Mix_HaltMusic();
    Mix_FreeMusic(m_music);
  }
  m_music = nullptr;
  m_ended = false;
}

uint32_t TSdlMusicPlayer::Length() { return m_music ? Milliseconds(Mix_MusicDuration(m_music)) : 0; }

uint32_t TSdlMusicPlayer::Position() {
  if (!m_music) return 0;
  if (m_ended) return Length();
  return Milliseconds(Mix_GetMusicPosition(m_music));
}

void TSdlMusicPlayer::SetVolume(int32_t volume) {
  const int32_t v = std::clamp(volume, 0, kMaxVolume);
  Mix_VolumeMusic(int((v * MIX_MAX_VOLUME + kMaxVolume / 2) / kMaxVolume));
}

bool TSdlMusicPlayer::TakeTrackEnd() {
  bool ended = false;
  SDL_Event e;
  while (g_endEvent != Uint32(-1) && SDL_PeepEvents(&e, 1, SDL_GETEVENT, g_endEvent, g_endEvent) > 0)
    if (m_music && e.user.code != 0 && e.user.code == m_play && !m_ended) ended = m_ended = true;
  return ended;
}

}  // namespace kx
