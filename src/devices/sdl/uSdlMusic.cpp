#include "devices/sdl/uSdlMusic.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <utility>

#include "os/uPackedFiles.h"

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

// The mixer's reader over a file window (os/uPackedFiles.h): a packed track
// is played from its range of the program file, never written out.
struct TWindowReader {
  TFilePtr File{nullptr, std::fclose};
  int64_t Start = 0, Size = 0, Pos = 0;
};

TWindowReader* ReaderOf(SDL_RWops* rw) { return static_cast<TWindowReader*>(rw->hidden.unknown.data1); }

Sint64 WindowSize(SDL_RWops* rw) { return ReaderOf(rw)->Size; }

Sint64 WindowSeek(SDL_RWops* rw, Sint64 offset, int whence) {
  TWindowReader& r = *ReaderOf(rw);
  const Sint64 base = whence == RW_SEEK_SET ? 0 : whence == RW_SEEK_CUR ? r.Pos : r.Size;
  const Sint64 to = base + offset;
  if (to < 0) return SDL_SetError("seek before the start of the track");
  r.Pos = to;
  return to;
}

size_t WindowRead(SDL_RWops* rw, void* buffer, size_t size, size_t count) {
  TWindowReader& r = *ReaderOf(rw);
  if (size == 0 || r.Pos >= r.Size) return 0;
  const size_t items = size_t(std::min<int64_t>(int64_t(count), (r.Size - r.Pos) / int64_t(size)));
  if (items == 0 || fseeko(r.File.get(), off_t(r.Start + r.Pos), SEEK_SET) != 0) return 0;
  const size_t got = std::fread(buffer, 1, items * size, r.File.get());
  r.Pos += int64_t(got);
  return got / size;
}

size_t WindowWrite(SDL_RWops*, const void*, size_t, size_t) { return 0; }

int WindowClose(SDL_RWops* rw) {
  delete ReaderOf(rw);
  SDL_FreeRW(rw);
  return 0;
}

SDL_RWops* OpenWindowReader(TFileWindow window) {
  SDL_RWops* rw = SDL_AllocRW();
  if (!rw) return nullptr;
  rw->size = WindowSize;
  rw->seek = WindowSeek;
  rw->read = WindowRead;
  rw->write = WindowWrite;
  rw->close = WindowClose;
  rw->type = SDL_RWOPS_UNKNOWN;
  rw->hidden.unknown.data1 = new TWindowReader{std::move(window.File), window.Start, window.Size, 0};
  return rw;
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
  TFileWindow window = OpenFileWindow(path);
  if (!window.File) throw TSoundError("cannot open " + path);
  SDL_RWops* rw = OpenWindowReader(std::move(window));
  if (!rw) throw TSoundError("cannot open " + path + ": " + SDL_GetError());
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
