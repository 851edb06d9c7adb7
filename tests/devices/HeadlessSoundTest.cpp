#include <gtest/gtest.h>

#include "devices/headless/uHeadlessSound.h"
#include "devices/headless/uVirtualClock.h"
#include "support/AudioSupport.h"
#include "support/TestSupport.h"

using namespace kx;

namespace {

std::vector<std::string> Lines(const TSoundLog& log) {
  std::vector<std::string> out;
  for (const TSoundRecord& r : log.Records()) out.push_back(std::to_string(r.Tick) + " " + r.Line);
  return out;
}

// A track lasts the length it is told on the virtual clock; its end is
// reported once, after which its position is its length. A file whose length
// cannot be told lasts three minutes; one that cannot be read does not open.
TEST(HeadlessMusic, TracksLastTheirLengthOnTheVirtualClock) {
  kxtest::TScratchDir dir;
  kxtest::WriteFile(dir / "a.wav", kxtest::MakeWav({1, 1, 8000, 8, 12000}));  // 1.5 s
  kxtest::WriteFile(dir / "b.mid", "MThd and more");
  TVirtualClock clock(100);
  TSoundLog log(clock);
  THeadlessMusicPlayer music(log, [&](const std::string& path) -> std::optional<uint32_t> {
    if (path == dir / "a.wav") return 1500;
    return std::nullopt;
  });

  music.Open(dir / "a.wav");
  music.SetVolume(1200);
  music.Play();
  EXPECT_EQ(music.Length(), 1500u);
  clock.Advance(1499);
  EXPECT_FALSE(music.TakeTrackEnd());
  EXPECT_EQ(music.Position(), 1499u);
  clock.Advance(1);
  EXPECT_TRUE(music.TakeTrackEnd());
  EXPECT_FALSE(music.TakeTrackEnd());
  clock.Advance(50);
  EXPECT_EQ(music.Position(), music.Length());

  music.Open(dir / "b.mid");
  EXPECT_EQ(music.Length(), THeadlessMusicPlayer::kUnknownLengthMs);
  EXPECT_THROW(music.Open(dir / "missing.ogg"), TSoundError);
  EXPECT_THROW(music.Play(), TSoundError);
  EXPECT_EQ(Lines(log), (std::vector<std::string>{"100 music open " + dir / "a.wav", "100 music volume 1000",
                                                  "100 music play", "1600 music end",
                                                  "1650 music open " + dir / "b.mid"}));
}

// A sound that a real device would refuse is refused here too: the channel
// stays empty and silent.
TEST(HeadlessSound, RecordsWhatAStereoWouldPlay) {
  const TPcmSound good = kxtest::MakePcm("good.wav");
  TVirtualClock clock;
  TSoundLog log(clock);
  THeadlessSoundChannels channels(log);
  channels.Load(0, good);
  EXPECT_THROW(channels.Load(1, kxtest::MakePcm("adpcm.wav", {2, 1, 8000, 4})), TSoundError);
  EXPECT_THROW(channels.Load(8, good), TSoundError);
  channels.SetVolume(0, -800);
  channels.SetVolume(1, -800);
  channels.Play(0, true);
  channels.Play(1, false);
  channels.SetVolume(0, 300);  // above full: full
  channels.Play(0, false);
  channels.StopAll();
  channels.Unload(0);
  channels.Play(0, false);  // emptied: silent
  EXPECT_EQ(Lines(log), (std::vector<std::string>{"0 sound load 0 good.wav", "0 sound play 0 loop -800",
                                                  "0 sound play 0 once 0", "0 sound stop-all"}));
}

}  // namespace
