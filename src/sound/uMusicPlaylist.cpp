#include "sound/uMusicPlaylist.h"

#include <algorithm>
#include <exception>

#include "package/uPackage.h"

namespace kx {

std::vector<std::string> BuildPlaylist(const std::string& musicFile, const std::string& workFolder) {
  std::vector<std::string> list;
  for (size_t start = 0; start < musicFile.size();) {
    const size_t end = std::min(musicFile.find(';', start), musicFile.size());
    const std::string item = musicFile.substr(start, end - start);
    if (!item.empty()) list.push_back(FileNamePart(item) == item ? workFolder + item : item);
    start = end + 1;
  }
  return list;
}

TMusicPlaylist::~TMusicPlaylist() {
  try {
    if (m_player) m_player->Close();
  } catch (const std::exception& e) {
    Report(e.what());
  }
}

void TMusicPlaylist::Start(const TKXCSetting& settings, const std::string& workFolder) {
  MusicOn = settings.Music && !settings.MusicFile.empty() && m_player;
  if (!MusicOn) return;
  Playlist = BuildPlaylist(settings.MusicFile, workFolder);
  m_broken.assign(Playlist.size(), false);
  m_brokenCount = 0;
  InOrder = settings.MusicMode != 0;
  m_volume = int32_t(std::clamp<int64_t>(int64_t(settings.MusicVolume) * 10, 0, IMusicPlayer::kMaxVolume));
  TrackIndex = -1;
  if (Playlist.empty()) return StopMusic();  // nothing to play is no error
  TrackIndex = NextTrackIndex();
  try {
    m_player->Open(Playlist.at(size_t(TrackIndex)));
    m_player->SetVolume(m_volume);
    m_player->Play();
  } catch (const std::exception& e) {
    Report(Playlist[size_t(TrackIndex)] + ": " + e.what());
    StopMusic();
  }
}

// In order: the next track, the first after the last. Shuffled: any track
// other than the current one. Broken tracks are passed over; when the
// current track is the only one left it follows itself.
int32_t TMusicPlaylist::NextTrackIndex() {
  const auto count = int32_t(Playlist.size());
  if (InOrder) {
    int32_t next = TrackIndex;
    for (int32_t tried = 0; tried < count; ++tried) {
      next = next + 1 >= count ? 0 : next + 1;
      if (!m_broken[size_t(next)]) return next;
    }
    return next;
  }
  if (count < 2) return 0;
  const bool currentWorks = TrackIndex >= 0 && !m_broken[size_t(TrackIndex)];
  if (size_t(count) - m_brokenCount <= (currentWorks ? 1u : 0u)) return currentWorks ? TrackIndex : 0;
  int32_t next;
  do next = int32_t(m_random.Random(uint32_t(count)));
  while (next == TrackIndex || m_broken[size_t(next)]);
  return next;
}

void TMusicPlaylist::MediaPlayerNotify() {
  if (!MusicOn) return;
  if (m_player->Position() < m_player->Length()) return;  // not the end of the track
  m_player->Close();
  m_seeking = true;
  TryNextTracks();
}

void TMusicPlaylist::TryNextTracks() {
  for (int i = 0; i < kOpensPerPass && m_seeking; ++i) {
    if (m_brokenCount >= Playlist.size()) return StopMusic();
    TrackIndex = NextTrackIndex();
    try {
      m_player->Open(Playlist[size_t(TrackIndex)]);
      m_player->SetVolume(m_volume);
      m_player->Play();
      m_seeking = false;
    } catch (const std::exception& e) {
      Report(Playlist[size_t(TrackIndex)] + ": " + e.what());
      m_broken[size_t(TrackIndex)] = true;
      ++m_brokenCount;
    }
  }
}

void TMusicPlaylist::ProcessMessages() {
  if (!MusicOn) return;
  try {
    if (m_player->TakeTrackEnd()) MediaPlayerNotify();
    else if (m_seeking) TryNextTracks();
  } catch (const std::exception& e) {
    Report(e.what());
    StopMusic();
  }
}

void TMusicPlaylist::StopMusic() {
  MusicOn = false;
  m_seeking = false;
  try {
    m_player->Close();
  } catch (const std::exception& e) {
    Report(e.what());
  }
}

}  // namespace kx
