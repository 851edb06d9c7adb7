// Background music of a show: a playlist from the MusicFile setting, played
// in order or shuffled (never the same track twice in a row while there is
// another), repeating endlessly across all slides. The player reports the
// end of each track; the next one then starts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "devices/uMusic.h"
#include "os/uErrorSink.h"
#include "package/uKXProject.h"
#include "raster/uRandom.h"

namespace kx {

// The tracks of a MusicFile text: items separated by ";", empty ones
// skipped, an item without a folder part prefixed with the work folder.
std::vector<std::string> BuildPlaylist(const std::string& musicFile, const std::string& workFolder);

class TMusicPlaylist {
 public:
  // Without a player (no audio device) there is no music. A shuffled list
  // draws from random; tracks that fail are reported to errors. Both must
  // outlive the playlist.
  TMusicPlaylist(IMusicPlayer* player, TRandom& random, IErrorSink& errors)
      : m_player(player), m_random(random), m_errors(errors) {}
  ~TMusicPlaylist();
  TMusicPlaylist(const TMusicPlaylist&) = delete;
  TMusicPlaylist& operator=(const TMusicPlaylist&) = delete;

  bool MusicOn = false;
  std::vector<std::string> Playlist;
  int32_t TrackIndex = -1;
  bool InOrder = false;

  // Starts the first track when Music is on and MusicFile is not empty. A
  // first track that does not play leaves the show without music (the
  // screen shows nothing; the error goes to the sink).
  void Start(const TKXCSetting& settings, const std::string& workFolder);
  // The player reported the end of a track: when it has played to its
  // length, the next track that opens starts. Tracks that fail to open are
  // passed over and not tried again; when none opens the music stops. Each
  // failure goes to the sink, nothing to the screen.
  void MediaPlayerNotify();
  // Polls the player for the end of the track (the show's message pump) and
  // goes on trying tracks when the last pass left some untried.
  void ProcessMessages();
  // Tracks are left to try: the pump should come back soon.
  bool Seeking() const { return MusicOn && m_seeking; }

 private:
  // At most this many tracks are tried per pass, so a long list of broken
  // tracks never holds the show up; the rest are tried in the next passes.
  static constexpr int kOpensPerPass = 16;

  int32_t NextTrackIndex();
  void TryNextTracks();
  void StopMusic();
  void Report(const std::string& what) { m_errors.Report("music", what); }

  IMusicPlayer* m_player;
  TRandom& m_random;
  IErrorSink& m_errors;
  int32_t m_volume = 1000;
  std::vector<bool> m_broken;  // tracks that failed to open
  size_t m_brokenCount = 0;
  bool m_seeking = false;  // a track has ended and none has started since
};

}  // namespace kx
