#include "devices/sdl/uSdlMusic.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cmath>

#include "os/uFileAccess.h"

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

// The kind a file's extension names, as the mixer would take it from the
// name; MUS_NONE lets the mixer tell the kind from the content.
Mix_MusicType KindOf(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return MUS_NONE;
  const std::string ext = path.substr(dot + 1);
  const struct {
    const char* Ext;
    Mix_MusicType Kind;
  } kinds[] = {{"WAV", MUS_WAV},  {"WAVE", MUS_WAV}, {"MID", MUS_MID},  {"MIDI", MUS_MID},
               {"KAR", MUS_MID},  {"OGG", MUS_OGG},  {"OPUS", MUS_OPUS}, {"FLAC", MUS_FLAC},
               {"MPG", MUS_MP3},  {"MPEG", MUS_MP3}, {"MP3", MUS_MP3},  {"MAD", MUS_MP3}};
  for (const auto& k : kinds)
    if (SDL_strcasecmp(ext.c_str(), k.Ext) == 0) return k.Kind;
  return MUS_NONE;
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
  // Opened by us without blocking (a named pipe in a track's place cannot
  // stall the show); the mixer reads it from there and closes it.
  TFilePtr file = OpenRegularFile(path);
  if (!file) throw TSoundError("cannot open " + path);
  SDL_RWops* rw = SDL_RWFromFP(file.get(), SDL_TRUE);
  if (!rw) throw TSoundError("cannot open " + path + ": " + SDL_GetError());
  file.release();
  m_music = Mix_LoadMUSType_RW(rw, KindOf(path), 1);
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
