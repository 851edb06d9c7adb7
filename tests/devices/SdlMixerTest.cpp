#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>

#include "devices/sdl/uSdlAudio.h"
#include "devices/sdl/uSdlMusic.h"
#include "devices/sdl/uSdlSound.h"
#include "os/uPackedFiles.h"
#include "support/AudioSupport.h"
#include "support/TestSupport.h"

using namespace kx;

namespace {

TEST(SdlMixer, VolumesFollowTheDecibelScale) {
  struct TCase {
    int32_t db;
    int volume;
  };
  const TCase cases[] = {{0, 128}, {500, 128}, {-600, 64}, {-2000, 13}, {-4000, 1}, {-10000, 1}, {-20000, 1}};
  for (const TCase& c : cases) EXPECT_EQ(MixerVolume(c.db), c.volume) << c.db;
}

// SDL's dummy audio driver plays in real time without a sound card: a sound
// and an OGG load and play, a sound of a format the channels cannot play is
// refused, and the end of the OGG track arrives as the player's own event on
// the show's thread.
TEST(SdlMixer, PlaysSoundsAndReportsTheEndOfATrack) {
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  std::unique_ptr<TSdlAudio> audio = TSdlAudio::Open();
  ASSERT_TRUE(audio) << SDL_GetError();
  kxtest::TScratchDir dir;
  kxtest::WriteFile(dir / "picture.ogg", "\xFF\xD8\xFF\xE0 not music at all");
  {
    TSdlSoundChannels channels(*audio);
    channels.Load(3, kxtest::MakePcm("tone.wav", {kPcmInteger, 1, 22050, 16}, 2205));
    channels.SetVolume(3, -4000);
    channels.Play(3, true);
    EXPECT_THROW(channels.Load(4, kxtest::MakePcm("fake.wav", {kPcmInteger, 1, 22050, 12})), TSoundError);
    channels.Play(4, false);  // an empty channel stays silent
    // Every format the channels take, the mixer decodes.
    const TPcmFormat formats[] = {{kPcmInteger, 1, 8000, 8},     {kPcmInteger, 2, 44100, 24},
                                  {kPcmInteger, 8, 1000, 32},    {kPcmFloat, 2, 48000, 32},
                                  {kPcmInteger, 1, 384000, 16}};
    for (const TPcmFormat& f : formats)
      EXPECT_NO_THROW(channels.Load(5, kxtest::MakePcm("f.wav", f, 500)))
          << f.FormatTag << " " << f.Channels << " " << f.SampleRate << " " << f.BitsPerSample;
    channels.StopAll();

    TSdlMusicPlayer music(*audio);
    EXPECT_THROW(music.Open(dir / "picture.ogg"), TSoundError);
    EXPECT_THROW(music.Open(std::string(10000, 'x') + ".ogg"), TSoundError);
    ASSERT_EQ(::mkfifo((dir / "pipe.ogg").c_str(), 0600), 0);
    EXPECT_THROW(music.Open(dir / "pipe.ogg"), TSoundError);  // refused at once, not waited on
    music.Open(KX_FIXTURES "tone.ogg");
    EXPECT_NEAR(double(music.Length()), 300.0, 30.0);
    music.SetVolume(500);
    music.Play();
    bool ended = false;
    for (int waited = 0; waited < 5000 && !ended; waited += 10) {
      SDL_Delay(10);
      ended = music.TakeTrackEnd();
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(music.Position(), music.Length());
    EXPECT_FALSE(music.TakeTrackEnd());

    // Closing a playing track reports no end.
    music.Open(KX_FIXTURES "tone.ogg");
    music.Play();
    music.Close();
    SDL_Delay(50);
    EXPECT_FALSE(music.TakeTrackEnd());
  }
}

// A track the package carries is played from its range of the program file:
// the mixer sees exactly the track's bytes (the same length as the track on
// its own), whatever lies around it; an empty range is no track.
TEST(SdlMixer, APackedTrackOpensFromItsRangeOfTheProgram) {
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  std::unique_ptr<TSdlAudio> audio = TSdlAudio::Open();
  ASSERT_TRUE(audio) << SDL_GetError();
  const std::string track = kxtest::ReadFile(KX_FIXTURES "tone.ogg");
  ASSERT_FALSE(track.empty());
  kxtest::TScratchDir dir;
  const std::string before(4099, 'p');
  kxtest::WriteFile(dir / "program", before + track + track + "tail");
  const std::string work = dir / "work/";
  SetPackedFiles(work, dir / "program",
                 {{"music1.ogg", int64_t(before.size()), int64_t(track.size())}, {"none.ogg", 10, 0}});
  {
    TSdlMusicPlayer music(*audio);
    music.Open(KX_FIXTURES "tone.ogg");
    const uint32_t alone = music.Length();
    music.Open(work + "music1.ogg");
    EXPECT_EQ(music.Length(), alone);
    music.Close();
    EXPECT_THROW(music.Open(work + "none.ogg"), TSoundError);
    EXPECT_THROW(music.Open(work + "other.ogg"), TSoundError);
  }
  ClearPackedFiles();
}

// Channels loaded with one sound share one chunk, converted once, and each
// keeps its own volume; a channel emptied or given another sound leaves the
// others playing the shared chunk.
TEST(SdlMixer, ChannelsOfOneSoundShareOneChunk) {
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  std::unique_ptr<TSdlAudio> audio = TSdlAudio::Open();
  ASSERT_TRUE(audio) << SDL_GetError();
  TSdlSoundChannels channels(*audio);
  const TPcmSound sea = kxtest::MakePcm("sea.wav", {kPcmInteger, 1, 8000, 16}, 8000);
  const TPcmSound copy = kxtest::MakePcm("sea.wav", {kPcmInteger, 1, 8000, 16}, 8000);  // the same, read again
  for (int c = 0; c < ISoundChannels::kChannelCount; ++c) {
    channels.Load(c, c == 7 ? copy : sea);
    channels.SetVolume(c, -500 * c);
    channels.Play(c, true);
  }
  Mix_Chunk* shared = Mix_GetChunk(0);
  ASSERT_TRUE(shared);
  for (int c = 0; c < ISoundChannels::kChannelCount; ++c) {
    EXPECT_EQ(Mix_Volume(c, -1), MixerVolume(-500 * c)) << c;
    EXPECT_TRUE(Mix_Playing(c)) << c;
    if (c < 7) EXPECT_EQ(Mix_GetChunk(c), shared) << c;
  }
  EXPECT_NE(Mix_GetChunk(7), shared);  // other samples, even of the same file, are their own chunk

  channels.Unload(0);
  channels.Load(1, kxtest::MakePcm("gull.wav", {kPcmInteger, 2, 22050, 8}, 500));
  EXPECT_FALSE(Mix_Playing(0));
  for (int c = 2; c < 7; ++c) EXPECT_TRUE(Mix_Playing(c)) << c;
  channels.Play(1, false);
  EXPECT_NE(Mix_GetChunk(1), shared);
  channels.Play(0, true);  // an emptied channel stays silent
  EXPECT_FALSE(Mix_Playing(0));
  channels.StopAll();
}

// A sound of whole cycles of 441 Hz and about 3 kHz, both at their peak at
// its first frame: it loops without a joint, as the waterfall of the demo does.
TPcmSound CleanLoop(uint32_t rate, uint16_t channels, uint32_t frames) {
  const double k1 = std::round(frames * 441.0 / rate), k2 = std::round(frames * 3000.0 / rate);
  std::string samples;
  for (uint32_t n = 0; n < frames; ++n) {
    const double t = 2 * std::numbers::pi * n / frames;
    const auto v = int16_t(std::lround(16000 * std::cos(k1 * t) + 6000 * std::cos(k2 * t)));
    for (uint16_t c = 0; c < channels; ++c) kxtest::PutLe(samples, uint16_t(v), 2);
  }
  return {"loop.wav", {kPcmInteger, channels, rate, 16}, samples};
}

// The jump from the chunk's last frame back to its first, and the largest
// jump between neighbouring frames within it, over all of the device's
// 16-bit channels.
struct TJumps {
  int Seam = 0, Within = 0;
};
TJumps Jumps(const Mix_Chunk& chunk, int channels) {
  const auto* s = reinterpret_cast<const int16_t*>(chunk.abuf);
  const size_t n = chunk.alen / 2;
  TJumps j;
  for (size_t i = channels; i < n; ++i) j.Within = std::max(j.Within, std::abs(s[i] - s[i - channels]));
  for (int c = 0; c < channels; ++c) j.Seam = std::max(j.Seam, std::abs(s[c] - s[n - channels + c]));
  return j;
}

// A looping sound is converted to the device's rate as a loop: across the
// loop point the output steps no further than anywhere within the sound,
// and one round lasts as long as the sound. Played once, raised to the
// device's rate, its ends still meet silence (where the loop used to click).
TEST(SdlMixer, LoopingSoundsJoinWithoutAClick) {
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  std::unique_ptr<TSdlAudio> audio = TSdlAudio::Open();
  ASSERT_TRUE(audio) << SDL_GetError();
  int rate = 0, channels = 0;
  Uint16 format = 0;
  Mix_QuerySpec(&rate, &format, &channels);
  ASSERT_EQ(format, AUDIO_S16SYS);
  struct TCase {
    uint32_t rate;
    uint16_t channels;
    uint32_t frames;
  };
  const TCase cases[] = {
      {11025, 1, 22050},  // the demo's waterfall: 2 s at a quarter of the device's rate
      {8000, 2, 8000},    // a rate that does not divide the device's
      {96000, 1, 9600},   // above the device's rate
      {22050, 1, 300},    // shorter than the frames repeated around its ends
  };
  TSdlSoundChannels sounds(*audio);
  for (const TCase& c : cases) {
    const TPcmSound sound = CleanLoop(c.rate, c.channels, c.frames);
    sounds.Load(0, sound);
    sounds.Play(0, true);
    const Mix_Chunk* loop = Mix_GetChunk(0);
    ASSERT_TRUE(loop) << c.rate;
    EXPECT_EQ(loop->alen, uint64_t(c.frames) * uint64_t(rate) / c.rate * 2 * uint32_t(channels)) << c.rate;
    const TJumps looped = Jumps(*loop, channels);
    EXPECT_LE(looped.Seam, looped.Within) << c.rate;
    sounds.Play(0, false);
    const TJumps once = Jumps(*Mix_GetChunk(0), channels);
    if (c.rate < uint32_t(rate)) {
      EXPECT_GT(once.Seam, looped.Within) << c.rate;
    }
    sounds.StopAll();
  }
}

}  // namespace
