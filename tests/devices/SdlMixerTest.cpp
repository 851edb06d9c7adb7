#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <cstdlib>

#include "devices/sdl/uSdlAudio.h"
#include "devices/sdl/uSdlMusic.h"
#include "devices/sdl/uSdlSound.h"
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

}  // namespace
