#include <gtest/gtest.h>

#include "devices/headless/uHeadlessSound.h"
#include "devices/headless/uVirtualClock.h"
#include "raster/uRandom.h"
#include "sound/uSoundScheduler.h"
#include "support/AudioSupport.h"
#include "support/TestSupport.h"

using namespace kx;

namespace {

TSoundParam Record(const std::string& path, int32_t mode, int32_t min = 0, int32_t max = 0) {
  TSoundParam r{};
  r.SetPath(path);
  r.PlayMode = mode;
  r.MinSeconds = min;
  r.MaxSeconds = max;
  return r;
}

// A picture file's sounds on the recording channels, the scheduler ticked
// every 33 ms of virtual time as the idle loop does.
class SoundSchedulerTest : public testing::Test {
 protected:
  std::string AddWav(const std::string& name) {
    kxtest::WriteFile(Dir / name, kxtest::MakeWav({}));
    return Dir / name;
  }
  void Load(std::vector<TSoundParam> records) {
    for (size_t i = 0; i < records.size(); ++i) Project.Sounds[i] = records[i];
    Scheduler.StopSounds();
    Scheduler.LoadSounds(Project);
    Scheduler.TickSounds();
  }
  void RunFor(uint32_t ms) {
    for (uint32_t end = Clock.Tick() + ms; Clock.Tick() < end;) {
      Clock.Advance(33);
      Scheduler.TickSounds();
    }
  }
  // The ticks at which channel c started playing.
  std::vector<uint32_t> Plays(int c, const char* how = "once") const {
    std::vector<uint32_t> ticks;
    const std::string prefix = "sound play " + std::to_string(c) + " " + how;
    for (size_t i = Since; i < Log.Records().size(); ++i)
      if (Log.Records()[i].Line.rfind(prefix, 0) == 0) ticks.push_back(Log.Records()[i].Tick);
    return ticks;
  }

  size_t Since = 0;  // the records before this one are not counted
  kxtest::TScratchDir Dir;
  TVirtualClock Clock{5000};
  TSoundLog Log{Clock};
  THeadlessSoundChannels Channels{Log};
  TSoundEffect Player{&Channels, NullErrorSink()};
  std::vector<std::string> Titles;
  TRandom Random{77};
  kxtest::TErrorLog Errors;
  TSoundScheduler Scheduler{Player, Clock, Random, Errors, {Dir.Path(), "", ""},
                            [this](const std::string& t) { Titles.push_back(t); }};
  TProject Project;
};

TEST_F(SoundSchedulerTest, ALoopStartsWithItsPictureAndOnlyOnce) {
  Load({Record(AddWav("water.wav"), 0)});
  RunFor(60000);
  EXPECT_EQ(Plays(0, "loop"), std::vector<uint32_t>{5000});
  EXPECT_TRUE(Plays(0).empty());
}

// Waits are measured from the start of the previous play: with 5 and 5
// seconds a play every 5 seconds (within one idle pass), with 1 and 20 each
// wait is 1 to 19 seconds; an interval sound first plays one interval after
// its picture starts.
TEST_F(SoundSchedulerTest, RandomAndIntervalSoundsWaitTheirTurn) {
  struct TCase {
    const char* name;
    TSoundParam record;
    uint32_t firstMin, firstMax;
    uint32_t gapMin, gapMax;
  };
  const std::string wav = AddWav("bird.wav");
  const TCase cases[] = {
      {"random 5..5", Record(wav, 1, 5, 5), 5000, 5033, 5000, 5033},
      {"random 1..20", Record(wav, 1, 1, 20), 1000, 19033, 1000, 19033},
      {"random 20..1 (bounds swapped)", Record(wav, 1, 20, 1), 1000, 19033, 1000, 19033},
      {"interval 30", Record(wav, 2, 30), 30000, 30033, 30000, 30033},
  };
  for (const TCase& c : cases) {
    Since = Log.Records().size();
    const uint32_t start = Clock.Tick();
    Load({c.record});
    RunFor(400000);
    const std::vector<uint32_t> plays = Plays(0);
    ASSERT_GE(plays.size(), 10u) << c.name;
    EXPECT_GE(plays[0] - start, c.firstMin) << c.name;
    EXPECT_LE(plays[0] - start, c.firstMax) << c.name;
    uint32_t shortest = UINT32_MAX, longest = 0;
    for (size_t i = 1; i < plays.size(); ++i) {
      shortest = std::min(shortest, plays[i] - plays[i - 1]);
      longest = std::max(longest, plays[i] - plays[i - 1]);
    }
    EXPECT_GE(shortest, c.gapMin) << c.name;
    EXPECT_LE(longest, c.gapMax) << c.name;
    if (c.record.MaxSeconds == 20) {
      EXPECT_LT(shortest, 4000u) << c.name << ": the waits vary";
      EXPECT_GT(longest, 15000u) << c.name;
    }
  }
}

// Record i always sounds on channel i: a missing second file leaves channel
// 1 empty and the third record on channel 2. An undecodable file stays
// silent, its error goes to the sink (a missing file is no error). The
// window's title shows each path found.
TEST_F(SoundSchedulerTest, EachRecordKeepsItsOwnChannel) {
  const std::string water = AddWav("water.wav"), bird = AddWav("bird.wav");
  kxtest::WriteFile(Dir / "broken.wav", "RIFF....WAVEnothing");
  Load({Record(water, 0), Record(Dir / "missing.wav", 0), Record(bird, 1, 2, 2), Record(Dir / "broken.wav", 0)});
  RunFor(2100);
  EXPECT_EQ(Plays(0, "loop"), std::vector<uint32_t>{5000});
  EXPECT_TRUE(Plays(1, "").empty());
  EXPECT_EQ(Plays(2), std::vector<uint32_t>{7013});
  EXPECT_TRUE(Plays(3, "").empty());
  EXPECT_EQ(Player.SoundFiles, (std::vector<std::string>{water, "", bird, Dir / "broken.wav"}));
  EXPECT_EQ(Titles, (std::vector<std::string>{water, bird, Dir / "broken.wav"}));
  ASSERT_EQ(Errors.Lines.size(), 1u);
  EXPECT_EQ(Errors.Lines[0].rfind("sound: " + Dir / "broken.wav" + ": not a WAV sound", 0), 0u) << Errors.Lines[0];
}

TEST_F(SoundSchedulerTest, StoppingSilencesEverything) {
  Load({Record(AddWav("water.wav"), 0), Record(AddWav("bird.wav"), 2, 1)});
  RunFor(3000);
  const size_t before = Plays(1).size();
  Scheduler.StopSounds();
  RunFor(10000);
  EXPECT_EQ(Plays(1).size(), before);
  EXPECT_EQ(Log.Records().back().Line, "sound stop-all");
  EXPECT_TRUE(Player.SoundFiles.empty());
}

// Volume x 40 - 4000 hundredths of a decibel: 0 % is -40 dB, quiet but not
// silent; values beyond the scale stop at full.
TEST_F(SoundSchedulerTest, TheVolumeGoesOutInHundredthsOfADecibel) {
  const std::string wav = AddWav("water.wav");
  const std::pair<int32_t, std::string> cases[] = {
      {0, "sound play 0 loop -4000"}, {80, "sound play 0 loop -800"}, {100, "sound play 0 loop 0"},
      {250, "sound play 0 loop 0"}};
  for (const auto& [percent, line] : cases) {
    Player.SetVolume(percent);
    Load({Record(wav, 0)});
    EXPECT_EQ(Log.Records().back().Line, line) << percent;
  }
}

TEST(FindSoundFile, LooksInTheStoredPathThenTheWorkSharedAndProgramFolders) {
  kxtest::TScratchDir stored, work, shared, program;
  kxtest::MakeDir(shared / "sounds");
  kxtest::MakeDir(program / "sounds");
  kxtest::WriteFile(stored / "a.wav", "a");
  kxtest::WriteFile(work / "a.wav", "a");
  kxtest::WriteFile(work / "b.wav", "b");
  kxtest::WriteFile(shared / "b.wav", "b");  // not in "sounds/": not found there
  kxtest::WriteFile(shared / "sounds/c.wav", "c");
  kxtest::WriteFile(program / "sounds/c.wav", "c");
  kxtest::WriteFile(program / "sounds/d.wav", "d");
  const TSoundFolders folders{work.Path(), shared.Path(), program.Path()};
  const std::pair<std::string, std::string> cases[] = {
      {stored / "a.wav", stored / "a.wav"},
      {"C:\\Sounds\\b.wav", work / "b.wav"},
      {"/elsewhere/c.wav", shared / "sounds/c.wav"},
      {"d.wav", program / "sounds/d.wav"},
      {"e.wav", ""},
      {"C:\\Sounds\\", ""},
      {std::string(10000, 'x') + "/a.wav", work / "a.wav"},
      {"", ""},
  };
  for (const auto& [path, found] : cases) EXPECT_EQ(FindSoundFile(path, folders), found) << path.substr(0, 40);
}

}  // namespace
