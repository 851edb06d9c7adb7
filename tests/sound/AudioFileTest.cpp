#include <gtest/gtest.h>

#include <filesystem>
#include <span>

#include "devices/uSound.h"
#include "os/uPackedFiles.h"
#include "sound/uAudioDuration.h"
#include "sound/uWavFile.h"
#include "support/AudioSupport.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::MakeWav;
using kxtest::TWavLayout;
using namespace std::string_literals;

namespace {

TMemorySource Source(const std::string& bytes) {
  return TMemorySource({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

std::optional<TWavInfo> Parse(const std::string& bytes) {
  TMemorySource source = Source(bytes);
  try {
    return ParseWav(source);
  } catch (const TSoundError&) {
    return std::nullopt;
  }
}

// Replaces the format chunk's 16 bytes of a MakeWav image.
std::string WithFormat(std::string wav, const std::string& format, uint32_t size) {
  std::string chunk = "fmt ";
  kxtest::PutLe(chunk, size, 4);
  chunk += format;
  return wav.replace(12, 24, chunk);
}

TEST(WavFile, AcceptsPcmAndFloatAndTellsTheirLength) {
  struct TCase {
    const char* name;
    TWavLayout layout;
    uint64_t frames;
    uint32_t ms;
  };
  const TCase cases[] = {
      {"8-bit mono", {1, 1, 8000, 8, 8000}, 8000, 1000},
      {"16-bit stereo", {1, 2, 44100, 16, 22050}, 22050, 500},
      {"24-bit", {1, 2, 48000, 24, 4800}, 4800, 100},
      {"32-bit float", {3, 1, 22050, 32, 2205}, 2205, 100},
      // A header that claims 2 GB of samples: the frames present count.
      {"data claims 2 GB", {1, 1, 8000, 16, 400, 0x7FFFFFF0}, 400, 50},
      // A claim that ends inside a frame: only whole frames.
      {"half a frame more", {1, 2, 8000, 16, 400, -1}, 400, 50},
  };
  for (const TCase& c : cases) {
    std::string wav = MakeWav(c.layout);
    if (std::string(c.name) == "half a frame more") wav += "xy";
    const std::optional<TWavInfo> info = Parse(wav);
    ASSERT_TRUE(info) << c.name;
    EXPECT_EQ(info->Frames(), c.frames) << c.name;
    EXPECT_EQ(info->DurationMs(), c.ms) << c.name;
    EXPECT_EQ(info->DataOffset, 44u) << c.name;
  }
}

TEST(WavFile, RefusesWhatIsNoPlayableSound) {
  const std::string good = MakeWav({});
  struct TCase {
    const char* name;
    std::string bytes;
  };
  const TCase cases[] = {
      {"empty", ""},
      {"truncated header", good.substr(0, 10)},
      {"a JPEG", "\xFF\xD8\xFF\xE0" + std::string(100, 'j')},
      {"no data chunk", good.substr(0, 36)},
      {"no format chunk", "RIFF\x04\x00\x00\x00WAVEdata\x04\x00\x00\x00\x01\x02\x03\x04"s},
      {"no samples", MakeWav({1, 1, 8000, 16, 0})},
      {"ADPCM", MakeWav({2, 1, 8000, 16, 100})},
      {"12 bits", MakeWav({1, 1, 8000, 12, 100, -1, 2})},
      {"no channels", MakeWav({1, 0, 8000, 16, 100, -1, 2})},
      {"nine channels", MakeWav({1, 9, 8000, 16, 100})},
      {"rate 0", MakeWav({1, 1, 0, 16, 100})},
      {"block size lies", MakeWav({1, 2, 8000, 16, 100, -1, 2})},
      {"format chunk too short", WithFormat(good, std::string(8, '\1'), 8) + std::string(8, '\0')},
      {"format chunk past the end", good.substr(0, 30)},
  };
  for (const TCase& c : cases) EXPECT_FALSE(Parse(c.bytes)) << c.name;
}

TEST(WavFile, FindsChunksInAnyOrderAndReadsTheExtensibleForm) {
  // A padded odd-sized chunk before the format, the data before the format.
  const std::string plain = MakeWav({1, 1, 8000, 16, 100});
  const std::string fmt = plain.substr(12, 24), data = plain.substr(36);
  std::string shuffled = "RIFF\0\0\0\0WAVE"s + "LIST\x03\0\0\0abc\0"s + data + fmt;
  shuffled.replace(4, 4, std::string("\xFF\xFF\xFF\xFF", 4));  // a RIFF size that lies is ignored
  const std::optional<TWavInfo> info = Parse(shuffled);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->Frames(), 100u);
  EXPECT_EQ(info->DataOffset, 32u);

  std::string ext = fmt.substr(8, 16);
  ext.replace(0, 2, std::string("\xFE\xFF", 2));
  kxtest::PutLe(ext, 22, 2);   // extension size
  kxtest::PutLe(ext, 16, 2);   // valid bits
  kxtest::PutLe(ext, 4, 4);    // channel mask
  kxtest::PutLe(ext, 1, 2);    // sub-format: PCM
  ext += std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
  const std::optional<TWavInfo> extensible = Parse(WithFormat(plain, ext, 40));
  ASSERT_TRUE(extensible);
  EXPECT_EQ(extensible->FormatTag, kWavPcm);
  EXPECT_EQ(extensible->Frames(), 100u);
}

TEST(WavFile, TheCanonicalImageTellsTheTruth) {
  kxtest::TScratchDir dir;
  kxtest::WriteFile(dir / "big.wav", MakeWav({1, 2, 8000, 16, 300, 0x7FFFFFF0}));
  const TWavSound sound = ReadWavFile(dir / "big.wav");
  const std::string image = CanonicalWav(sound);
  EXPECT_EQ(image.size(), 44u + 1200u);
  const std::optional<TWavInfo> again = Parse(image);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->Frames(), 300u);
  EXPECT_EQ(image.substr(44), sound.Samples);
}

// A sound the package carries is read in place from its range of the
// program file: the same sound as from a file of its own, and nothing of the
// bytes around it (the range is all the reader sees).
TEST(WavFile, APackedSoundReadsAsItsOwnFile) {
  kxtest::TScratchDir dir;
  const std::string wav = MakeWav({1, 2, 8000, 16, 300, 0x7FFFFFF0});
  kxtest::WriteFile(dir / "alone.wav", wav);
  kxtest::WriteFile(dir / "program", "player code" + wav + MakeWav({1, 1, 11025, 8, 50, 0x7FFFFFF0}));
  const std::string work = dir / "work/";
  SetPackedFiles(work, dir / "program", {{"chirp.wav", 11, int64_t(wav.size())}});
  const TWavSound alone = ReadWavFile(dir / "alone.wav");
  const TWavSound packed = ReadWavFile(work + "chirp.wav");
  EXPECT_EQ(packed.Samples, alone.Samples);
  EXPECT_EQ(CanonicalWav(packed), CanonicalWav(alone));
  EXPECT_EQ(AudioFileDurationMs(work + "chirp.wav"), AudioFileDurationMs(dir / "alone.wav"));
  ClearPackedFiles();
  EXPECT_THROW(ReadWavFile(work + "chirp.wav"), TSoundError);
}

TEST(WavFile, RefusesFilesAbove64MegabytesAndAnythingButRegularFiles) {
  kxtest::TScratchDir dir;
  const std::string path = dir / "huge.wav";
  kxtest::WriteFile(path, MakeWav({1, 1, 8000, 16, 100, 0x7FFFFFF0}));
  std::filesystem::resize_file(path, kMaxWavFileBytes + 1);  // sparse: no disk used
  EXPECT_THROW(ReadWavFile(path), TSoundError);
  EXPECT_THROW(ReadWavFile(dir / "missing.wav"), TSoundError);
  EXPECT_THROW(ReadWavFile(dir.Path()), TSoundError);  // a folder (a named pipe: AudioFileTest_posix.cpp)
}

TEST(AudioDuration, IsToldFromTheHeadersOfEachKind) {
  using kxtest::Mp3Frame;
  using kxtest::OggPage;
  std::string cbr;
  for (int i = 0; i < 100; ++i) cbr += Mp3Frame();
  std::string xing = Mp3Frame(1000);
  for (int i = 0; i < 3; ++i) xing += Mp3Frame();
  std::string id3 = "ID3\x03\x00\x00\x00\x00\x01\x00"s;  // a 128-byte tag
  id3 += std::string(128, '\xFF');  // sync-like bytes inside the tag are skipped with it
  struct TCase {
    const char* name;
    std::string bytes;
    std::optional<uint32_t> ms;
  };
  const TCase cases[] = {
      {"WAV", MakeWav({1, 1, 8000, 8, 12000}), 1500},
      {"Ogg Vorbis", OggPage(0, kxtest::VorbisIdPacket(44100)) + std::string(5000, 'v') + OggPage(88200, "x"), 2000},
      {"Ogg Vorbis, last page without granule",
       OggPage(0, kxtest::VorbisIdPacket(22050)) + OggPage(22050, "a") + OggPage(~uint64_t(0), "b"), 1000},
      {"Ogg Opus", OggPage(0, kxtest::OpusHeadPacket(312)) + OggPage(96312, "x"), 2000},
      {"Ogg of another codec", OggPage(0, "\x7F" "FLAC" + std::string(20, '\0')) + OggPage(1000, "x"), std::nullopt},
      {"FLAC", kxtest::FlacHeader(48000, 144000), 3000},
      {"FLAC of unknown length", kxtest::FlacHeader(48000, 0), std::nullopt},
      // 100 frames of 1152 samples at 44.1 kHz.
      {"MP3 summed", cbr, 2612},
      {"MP3 with Xing", xing, 26122},
      {"MP3 after ID3", id3 + cbr, 2612},
      {"JPEG", "\xFF\xD8\xFF\xE0" + std::string(3000, '\x11'), std::nullopt},
      {"one sync and junk", Mp3Frame() + std::string(500, '\x55'), std::nullopt},
      {"broken WAV", MakeWav({2, 1, 8000, 8, 100}), std::nullopt},
      {"empty", "", std::nullopt},
  };
  for (const TCase& c : cases) {
    TMemorySource source = Source(c.bytes);
    EXPECT_EQ(AudioDurationMs(source), c.ms) << c.name;
  }
}

// Past 8 MB of frames the rest of the file is estimated at the average
// frame size seen, so a large file is told in bounded time and close enough.
TEST(AudioDuration, LongMp3IsEstimatedPastTheScanningLimit) {
  std::string frames;
  const std::string frame = kxtest::Mp3Frame();
  const size_t count = (size_t(12) << 20) / frame.size();
  frames.reserve(count * frame.size());
  for (size_t i = 0; i < count; ++i) frames += frame;
  TMemorySource source = Source(frames);
  const std::optional<uint32_t> ms = AudioDurationMs(source);
  ASSERT_TRUE(ms);
  const double expected = double(count) * 1152 * 1000 / 44100;
  EXPECT_NEAR(*ms, expected, expected * 0.001);
}

}  // namespace
