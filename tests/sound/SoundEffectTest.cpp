#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

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

// Channels that keep what they are given, to see which samples each holds.
class TKeptChannels final : public ISoundChannels {
 public:
  std::vector<TPcmSound> Loaded = std::vector<TPcmSound>(kChannelCount);
  void Load(int channel, const TPcmSound& sound) override { Loaded[size_t(channel)] = sound; }
  void Unload(int channel) override { Loaded[size_t(channel)] = {}; }
  void Play(int, bool) override {}
  void Stop(int) override {}
  void SetVolume(int, int32_t) override {}
  void StopAll() override {}
};

// A picture file whose eight sound records name one WAV file reads it once:
// the eight channels hold one block of samples, and a change to the file
// after the first channel loaded is not seen until the next picture (Clear).
// A file that fails fails each time with the same message, also read once.
TEST(SoundEffect, ChannelsOfOneFileShareOneReadOfIt) {
  kxtest::TScratchDir dir;
  const std::string first = kxtest::MakeWav({1, 1, 8000, 16, 300});
  kxtest::WriteFile(dir / "sea.wav", first);
  kxtest::WriteFile(dir / "gull.wav", kxtest::MakeWav({1, 2, 22050, 8, 100}));
  kxtest::WriteFile(dir / "fake.wav", "RIFF0000WAVEjunk");
  TKeptChannels channels;
  kxtest::TErrorLog errors;
  TSoundEffect effect(&channels, errors);

  effect.Load(0, dir / "sea.wav");
  kxtest::WriteFile(dir / "sea.wav", kxtest::MakeWav({1, 2, 44100, 16, 50}));  // not read again
  for (int c = 1; c < ISoundChannels::kChannelCount; ++c) effect.Load(c, c == 4 ? dir / "gull.wav" : dir / "sea.wav");
  const std::shared_ptr<const std::string> samples = channels.Loaded[0].Samples;
  ASSERT_TRUE(samples);
  EXPECT_EQ(*samples, first.substr(44));
  for (int c = 1; c < ISoundChannels::kChannelCount; ++c) {
    const TPcmSound& sound = channels.Loaded[size_t(c)];
    if (c == 4) {
      EXPECT_NE(sound.Samples, samples);
      EXPECT_EQ(sound.Format, (TPcmFormat{kPcmInteger, 2, 22050, 8}));
    } else {
      EXPECT_EQ(sound.Samples, samples) << c;
      EXPECT_EQ(sound.Format, (TPcmFormat{kPcmInteger, 1, 8000, 16})) << c;
      EXPECT_EQ(sound.Name, dir / "sea.wav") << c;
    }
  }

  std::string message;
  try {
    effect.Load(5, dir / "fake.wav");
  } catch (const TSoundError& e) {
    message = e.what();
  }
  EXPECT_FALSE(message.empty());
  kxtest::WriteFile(dir / "fake.wav", first);  // not read again either
  try {
    effect.Load(6, dir / "fake.wav");
    ADD_FAILURE() << "the failed file was read again";
  } catch (const TSoundError& e) {
    EXPECT_EQ(e.what(), message);
  }
  EXPECT_FALSE(channels.Loaded[5].Samples);
  EXPECT_FALSE(channels.Loaded[6].Samples);

  // The next picture reads the files afresh.
  effect.Clear();
  effect.Load(0, dir / "sea.wav");
  effect.Load(1, dir / "fake.wav");
  EXPECT_EQ(channels.Loaded[0].Format, (TPcmFormat{kPcmInteger, 2, 44100, 16}));
  EXPECT_NE(channels.Loaded[0].Samples, samples);
  EXPECT_EQ(channels.Loaded[1].Bytes(), first.substr(44));
}

}  // namespace
