#include <gtest/gtest.h>

#include "devices/uSound.h"
#include "devices/uWavHeader.h"
#include "support/AudioSupport.h"

using namespace kx;

namespace {

// The channels take 8- to 32-bit integer or 32-bit float samples, 1 to 8
// channels at 1000 to 384000 frames a second, at least one whole frame.
TEST(PcmSound, ChannelsTakeWholeFramesOfTheFormatsTheyPlay) {
  struct TCase {
    const char* name;
    TPcmSound sound;
    bool takes;
  };
  const TCase cases[] = {
      {"8-bit mono", kxtest::MakePcm("a", {kPcmInteger, 1, 8000, 8}), true},
      {"24-bit stereo", kxtest::MakePcm("a", {kPcmInteger, 2, 44100, 24}), true},
      {"float, 8 channels at the highest rate", kxtest::MakePcm("a", {kPcmFloat, 8, 384000, 32}), true},
      {"32-bit at the lowest rate", kxtest::MakePcm("a", {kPcmInteger, 1, 1000, 32}, 1), true},
      {"ADPCM", kxtest::MakePcm("a", {2, 1, 8000, 4}), false},
      {"16-bit float", kxtest::MakePcm("a", {kPcmFloat, 1, 8000, 16}), false},
      {"12 bits", kxtest::MakePcm("a", {kPcmInteger, 1, 8000, 12}), false},
      {"no channels", {"a", {kPcmInteger, 0, 8000, 16}, std::string(100, '\0')}, false},
      {"nine channels", kxtest::MakePcm("a", {kPcmInteger, 9, 8000, 16}), false},
      {"rate 999", kxtest::MakePcm("a", {kPcmInteger, 1, 999, 16}), false},
      {"rate 384001", kxtest::MakePcm("a", {kPcmInteger, 1, 384001, 16}), false},
      {"no samples", kxtest::MakePcm("a", {kPcmInteger, 1, 8000, 16}, 0), false},
      {"half a frame more", {"a", {kPcmInteger, 2, 8000, 16}, std::string(402, '\0')}, false},
  };
  for (const TCase& c : cases) {
    if (c.takes) EXPECT_NO_THROW(CheckPcmSound(c.sound)) << c.name;
    else EXPECT_THROW(CheckPcmSound(c.sound), TSoundError) << c.name;
  }
}

// The header is the one a plain WAV file of that sound starts with.
TEST(PcmSound, TheWavHeaderIsThatOfAPlainFile) {
  EXPECT_EQ(WavHeader({kPcmInteger, 2, 8000, 16}, 1200), kxtest::MakeWav({1, 2, 8000, 16, 300}).substr(0, 44));
  EXPECT_EQ(WavHeader({kPcmFloat, 1, 22050, 32}, 400), kxtest::MakeWav({3, 1, 22050, 32, 100}).substr(0, 44));
}

}  // namespace
