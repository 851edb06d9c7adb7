#include <gtest/gtest.h>

#include <sys/stat.h>

#include "devices/uSound.h"
#include "sound/uAudioDuration.h"
#include "sound/uWavFile.h"
#include "support/TestSupport.h"

using namespace kx;

namespace {

TEST(WavFile, NamedPipesAreRefusedAtOnce) {
  kxtest::TScratchDir dir;
  ASSERT_EQ(::mkfifo((dir / "pipe.wav").c_str(), 0600), 0);
  EXPECT_THROW(ReadWavFile(dir / "pipe.wav"), TSoundError);  // refused at once, not waited on
  EXPECT_EQ(AudioFileDurationMs(dir / "pipe.wav"), std::nullopt);
}

}  // namespace
