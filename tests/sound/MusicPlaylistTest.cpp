#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "devices/headless/uHeadlessSound.h"
#include "devices/headless/uVirtualClock.h"
#include "raster/uRandom.h"
#include "sound/uAudioDuration.h"
#include "sound/uMusicPlaylist.h"
#include "support/AudioSupport.h"
#include "support/TestSupport.h"

using namespace kx;

namespace {

// The recording player, counting the opens it was asked for.
class TCountingPlayer final : public IMusicPlayer {
 public:
  explicit TCountingPlayer(TSoundLog& log) : m_player(log, AudioFileDurationMs) {}
  void Open(const std::string& path) override {
    ++Opens;
    m_player.Open(path);
  }
  void Play() override { m_player.Play(); }
  void Close() override { m_player.Close(); }
  uint32_t Position() override { return m_player.Position(); }
  uint32_t Length() override { return m_player.Length(); }
  void SetVolume(int32_t volume) override { m_player.SetVolume(volume); }
  bool TakeTrackEnd() override { return m_player.TakeTrackEnd(); }
  int Opens = 0;

 private:
  THeadlessMusicPlayer m_player;
};

// A show's music on the recording player: tracks of a known length in the
// work folder, the show's message pump run every 33 ms of virtual time.
class MusicPlaylistTest : public testing::Test {
 protected:
  // A WAV track of `ms` milliseconds in the work folder.
  void AddTrack(const std::string& name, uint32_t ms = 1000) {
    kxtest::WriteFile(Work / name, kxtest::MakeWav({1, 1, 8000, 8, ms * 8}));
  }
  void Start(const std::string& musicFile, int32_t mode, int32_t volume = 100) {
    Settings.Music = true;
    Settings.MusicFile = musicFile;
    Settings.MusicMode = mode;
    Settings.MusicVolume = volume;
    Music.Start(Settings, Work.Path());
  }
  void RunFor(uint32_t ms) {
    for (uint32_t end = Clock.Tick() + ms; Clock.Tick() < end;) {
      Clock.Advance(33);
      Music.ProcessMessages();
    }
  }
  // The names of the tracks opened, in order.
  std::vector<std::string> Opened() const {
    std::vector<std::string> names;
    for (const TSoundRecord& r : Log.Records())
      if (r.Line.rfind("music open ", 0) == 0) names.push_back(r.Line.substr(11 + Work.Path().size()));
    return names;
  }

  kxtest::TScratchDir Work;
  TVirtualClock Clock;
  TSoundLog Log{Clock};
  TCountingPlayer Player{Log};
  TRandom Random{4242};
  kxtest::TErrorLog Errors;
  TMusicPlaylist Music{&Player, Random, Errors};
  TKXCSetting Settings;
};

using TNames = std::vector<std::string>;

TEST_F(MusicPlaylistTest, InOrderFromTheWorkFolderEndlessly) {
  AddTrack("a.wav", 1000);
  AddTrack("b.wav", 500);
  Start("a.wav;b.wav", 1, 50);
  RunFor(4200);
  EXPECT_EQ(Opened(), (TNames{"a.wav", "b.wav", "a.wav", "b.wav", "a.wav", "b.wav"}));
  const std::vector<TSoundRecord>& r = Log.Records();
  ASSERT_GE(r.size(), 7u);
  EXPECT_EQ(r[1].Line, "music volume 500");
  EXPECT_EQ(r[2].Line, "music play");
  EXPECT_EQ(r[3].Line, "music end");
  EXPECT_GE(r[3].Tick, 1000u);
  EXPECT_LT(r[3].Tick, 1033u);
  EXPECT_EQ(r[4].Line, "music open " + Work / "b.wav");
}

TEST_F(MusicPlaylistTest, ShuffledNeverRepeatsATrackWhileThereIsAnother) {
  for (const char* name : {"a.wav", "b.wav", "c.wav"}) AddTrack(name, 200);
  Start("a.wav;b.wav;c.wav", 0);
  RunFor(12000);
  const TNames opened = Opened();
  ASSERT_GE(opened.size(), 40u);
  for (size_t i = 1; i < opened.size(); ++i) EXPECT_NE(opened[i], opened[i - 1]) << i;
  for (const char* name : {"a.wav", "b.wav", "c.wav"})
    EXPECT_NE(std::count(opened.begin(), opened.end(), name), 0) << name;
}

TEST_F(MusicPlaylistTest, OneShuffledTrackWithAFullPathRepeats) {
  AddTrack("only.wav", 300);
  Start(Work / "only.wav;", 0);
  RunFor(1000);
  EXPECT_EQ(Opened(), (TNames{"only.wav", "only.wav", "only.wav", "only.wav"}));
}

TEST_F(MusicPlaylistTest, NoTracksNoMusic) {
  AddTrack("a.wav");
  struct TCase {
    const char* name;
    bool music;
    std::string file;
  };
  const TCase cases[] = {
      {"two semicolons", true, ";;"},
      {"empty MusicFile", true, ""},
      {"music off", false, "a.wav"},
      {"a missing first track", true, "missing.wav;a.wav"},
  };
  for (const TCase& c : cases) {
    TSoundLog log(Clock);
    THeadlessMusicPlayer player(log, AudioFileDurationMs);
    kxtest::TErrorLog errors;
    TMusicPlaylist music(&player, Random, errors);
    Settings.Music = c.music;
    Settings.MusicFile = c.file;
    Settings.MusicMode = 1;
    music.Start(Settings, Work.Path());
    for (int i = 0; i < 100; ++i) {
      Clock.Advance(33);
      music.ProcessMessages();
    }
    EXPECT_FALSE(music.MusicOn) << c.name;
    EXPECT_TRUE(log.Records().empty()) << c.name;
    // Only a track that fails is an error, for the sink and not the screen.
    const std::vector<std::string> failed = {"music: " + Work / "missing.wav" + ": cannot open " + Work / "missing.wav"};
    EXPECT_EQ(errors.Lines, c.file == "missing.wav;a.wav" ? failed : std::vector<std::string>{}) << c.name;
  }
}

// A track that fails to open once another has ended is passed over and not
// tried again; when no track opens any more the music stops. Nothing of it
// shows; each failure reaches the error sink.
TEST_F(MusicPlaylistTest, FailingTracksArePassedOver) {
  AddTrack("a.wav", 400);
  AddTrack("c.wav", 400);
  Start("a.wav;missing.wav;c.wav", 1);
  RunFor(2000);
  EXPECT_EQ(Opened(), (TNames{"a.wav", "c.wav", "a.wav", "c.wav", "a.wav"}));
  EXPECT_EQ(Player.Opens, 6);  // the missing track was tried once
  const auto failed = [&](const char* name) { return "music: " + Work / name + ": cannot open " + Work / name; };
  EXPECT_EQ(Errors.Lines, std::vector<std::string>{failed("missing.wav")});

  std::remove((Work / "a.wav").c_str());
  std::remove((Work / "c.wav").c_str());
  RunFor(2000);
  EXPECT_FALSE(Music.MusicOn);
  EXPECT_EQ(Log.Records().back().Line, "music end");
  EXPECT_EQ(Errors.Lines, (std::vector<std::string>{failed("missing.wav"), failed("c.wav"), failed("a.wav")}));
}

// A long list of broken tracks is worked through a few at a time, so no
// pass of the show waits for more than 16 of them.
TEST_F(MusicPlaylistTest, ALongListOfBrokenTracksNeverHoldsTheShowUp) {
  AddTrack("a.wav", 100);
  std::string list = "a.wav";
  for (int i = 0; i < 100000; ++i) list += ";" + std::string(300, 'x') + std::to_string(i) + ".mp3";
  Start(list, 1);
  int passes = 0, mostOpens = 0;
  while (Opened().size() < 2 && passes < 20000) {
    const int before = Player.Opens;
    Clock.Advance(33);
    Music.ProcessMessages();
    mostOpens = std::max(mostOpens, Player.Opens - before);
    ++passes;
  }
  EXPECT_EQ(Opened(), (TNames{"a.wav", "a.wav"}));
  EXPECT_LE(mostOpens, 16);
  EXPECT_TRUE(Music.MusicOn);
}

TEST(BuildPlaylist, PrefixesNamesWithoutAFolder) {
  EXPECT_EQ(BuildPlaylist("a.mp3;;/m/b.ogg;C:\\Music\\c.mp3;d.flac", "/w/"),
            (std::vector<std::string>{"/w/a.mp3", "/m/b.ogg", "C:\\Music\\c.mp3", "/w/d.flac"}));
  EXPECT_TRUE(BuildPlaylist(";;", "/w/").empty());
}

}  // namespace
