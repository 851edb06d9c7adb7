#include <gtest/gtest.h>

#include "devices/headless/uHeadlessSound.h"
#include "devices/headless/uVirtualClock.h"
#include "devices/uSound.h"
#include "sound/uSoundEffect.h"
#include "support/AudioSupport.h"
#include "support/TestSupport.h"

using namespace kx;

namespace {

// The file is read and checked before it reaches the channel: a file that is
// no WAV sound, is missing or holds a format the channels cannot play throws,
// and the channel's earlier sound is gone with it.
TEST(SoundEffect, AFileThatCannotBeReadLeavesItsChannelEmpty) {
  kxtest::TScratchDir dir;
  kxtest::WriteFile(dir / "good.wav", kxtest::MakeWav({1, 2, 22050, 16, 300}));
  kxtest::WriteFile(dir / "fake.wav", "RIFF0000WAVEjunk");
  kxtest::WriteFile(dir / "adpcm.wav", kxtest::MakeWav({2, 1, 8000, 16, 100}));
  TVirtualClock clock;
  TSoundLog log(clock);
  THeadlessSoundChannels channels(log);
  kxtest::TErrorLog errors;
  TSoundEffect effect(&channels, errors);
  for (const char* bad : {"fake.wav", "missing.wav", "adpcm.wav"}) {
    effect.Load(0, dir / "good.wav");
    EXPECT_THROW(effect.Load(0, dir / bad), TSoundError) << bad;
    EXPECT_EQ(effect.SoundFiles, std::vector<std::string>{dir / bad});
    effect.Play(0, false);
  }
  std::vector<std::string> lines;
  for (const TSoundRecord& r : log.Records()) lines.push_back(r.Line);
  const std::string load = "sound load 0 " + dir / "good.wav";
  EXPECT_EQ(lines, (std::vector<std::string>{load, load, load}));
}

}  // namespace
