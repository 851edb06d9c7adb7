#include <gtest/gtest.h>

#include <cstring>

#include "package/uContainer.h"
#include "package/uFileIO.h"
#include "package/uIniFile.h"
#include "package/uText.h"
#include "raster/uPictureDecode.h"
#include "package/uPictureFileWriter.h"
#include "raster/uDecodeError.h"
#include "support/PictureFileBuilder.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::SmallPictureFile;
using kxtest::TScratchDir;
using kxtest::WaveOf;
using kxtest::WriteFile;

namespace {

std::string Int32(int32_t v) {
  const auto u = uint32_t(v);
  return {char(u), char(u >> 8), char(u >> 16), char(u >> 24)};
}

struct TLoaded {
  std::array<TWaveRecordBytes, kWaveRecordCount> waves;
  std::array<std::array<uint8_t, kSoundRecordSize>, kSoundRecordCount> sounds;
  std::array<uint8_t, kWeatherRecordSize> weather;
};

TLoaded Records(const TFileLoader& loader) {
  TLoaded r;
  loader.GetWaves(std::as_writable_bytes(std::span(r.waves)));
  loader.GetSounds(std::as_writable_bytes(std::span(r.sounds)));
  loader.GetWeather(std::as_writable_bytes(std::span(r.weather)));
  return r;
}

TFileLoader LoadBytes(const std::string& bytes) {
  TScratchDir dir;
  WriteFile(dir / "p.kxp", bytes);
  TFileLoader loader;
  loader.LoadFromFile(dir / "p.kxp");
  return loader;
}

// A file with something in every record, so each default shows when it is missing.
TPictureFileParts Filled(TPictureFileTail tail, size_t waves) {
  TPictureFileParts p = SmallPictureFile();
  for (size_t i = 0; i < waves; ++i) p.Waves.push_back(WaveOf(uint8_t(0x10 + i)));
  p.Weather.fill(7);
  for (auto& s : p.Sounds) s.fill(3);
  p.ObjectsText = "[Obj0]\r\nObjType=IMG\r\n";
  p.ExtraText = "[BuildScr],Music=1,";
  p.SoundFile = "rain.wav";
  p.Tail = tail;
  return p;
}

TEST(FileLoader, ReadsEveryField) {
  const TFileLoader loader = LoadBytes(MakePictureFile(Filled(TPictureFileTail::Full, 7)));
  EXPECT_EQ(loader.Title, "Lake");
  EXPECT_EQ(loader.Description, "Evening");
  EXPECT_EQ(loader.SoundFile, "rain.wav");
  EXPECT_EQ(loader.ObjectsText, "[Obj0]\r\nObjType=IMG\r\n");
  EXPECT_EQ(loader.ExtraText, "[BuildScr],Music=1,");
  TBitmap32 picture, thumbnail;
  loader.GetPicture(picture);
  loader.GetThumbnail(thumbnail);
  EXPECT_EQ(picture.Width(), 8);
  EXPECT_EQ(picture.Height(), 6);
  EXPECT_EQ(thumbnail.Width(), 4);
  EXPECT_EQ(loader.RegionMap(), (std::vector<int32_t>{8, 6, 480}));
  const TLoaded r = Records(loader);
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(r.waves[i], WaveOf(uint8_t(0x10 + i))) << i;
  EXPECT_EQ(r.waves[7], kDefaultWaveRecord);
  EXPECT_EQ(r.weather[0], 7);
  EXPECT_EQ(r.sounds[7][267], 3);
}

// What an optional tail that ends early, or is cut anywhere, leaves at its defaults.
struct TailCase {
  const char* name;
  TPictureFileTail tail;
  size_t waves;  // records written (the first four before the region map)
  size_t cut;    // bytes removed from the end
  size_t soundsRead;  // complete sound records; the rest are defaults
  bool objects, extra;
  size_t wavesRead;  // records taken from the file; the rest are defaults
};

class TailTest : public testing::TestWithParam<TailCase> {};

TEST_P(TailTest, MissingPartsKeepTheirDefaults) {
  const TailCase& c = GetParam();
  std::string bytes = MakePictureFile(Filled(c.tail, c.waves));
  bytes.resize(bytes.size() - c.cut);
  const TFileLoader loader = LoadBytes(bytes);
  const TLoaded r = Records(loader);
  for (size_t i = 0; i < kSoundRecordCount; ++i) {
    EXPECT_EQ(r.sounds[i][0], i < c.soundsRead ? 3 : 0) << i;
    EXPECT_EQ(r.sounds[i][267], i < c.soundsRead ? 3 : 0) << i;
  }
  EXPECT_EQ(loader.ObjectsText.empty(), !c.objects);
  EXPECT_EQ(loader.ExtraText.empty(), !c.extra);
  EXPECT_EQ(r.weather[23], 7);
  for (size_t i = 0; i < kWaveRecordCount; ++i)
    EXPECT_EQ(r.waves[i], i < c.wavesRead ? WaveOf(uint8_t(0x10 + i)) : kDefaultWaveRecord) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Tails, TailTest,
    testing::Values(TailCase{"EndsAfterWeather", TPictureFileTail::None, 4, 0, 0, false, false, 4},
                    TailCase{"EndsAfterSounds", TPictureFileTail::Sounds, 4, 0, 8, false, false, 4},
                    TailCase{"EndsAfterExtraText", TPictureFileTail::Texts, 4, 0, 8, true, true, 4},
                    TailCase{"NoFurtherWaves", TPictureFileTail::Full, 4, 0, 8, true, true, 4},
                    TailCase{"TwoFurtherWaves", TPictureFileTail::Full, 6, 0, 8, true, true, 6},
                    TailCase{"FourFurtherWaves", TPictureFileTail::Full, 8, 0, 8, true, true, 8},
                    TailCase{"CutInsideLastSound", TPictureFileTail::Sounds, 4, 1, 7, false, false, 4},
                    TailCase{"CutInsideSecondSound", TPictureFileTail::Sounds, 4, 6 * kSoundRecordSize + 100, 1,
                             false, false, 4},
                    TailCase{"CutInsideExtraText", TPictureFileTail::Texts, 4, 1, 8, true, false, 4},
                    TailCase{"CutInsideLastWave", TPictureFileTail::Full, 7, 1, 8, true, true, 6},
                    TailCase{"CutInsideWaveCount", TPictureFileTail::Full, 4, 2, 8, true, true, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileLoader, MoreThanFourFurtherWavesKeepsFour) {
  std::string bytes = MakePictureFile(Filled(TPictureFileTail::Texts, 4));
  bytes += Int32(6);
  for (uint8_t i = 0; i < 6; ++i) {
    const TWaveRecordBytes w = WaveOf(uint8_t(0x40 + i));
    bytes.append(reinterpret_cast<const char*>(w.data()), w.size());
  }
  const TLoaded r = Records(LoadBytes(bytes));
  EXPECT_EQ(r.waves[4], WaveOf(0x40));
  EXPECT_EQ(r.waves[7], WaveOf(0x43));
}

TEST(FileLoader, EveryCutBeforeTheTailFails) {
  const std::string full = MakePictureFile(Filled(TPictureFileTail::None, 4));
  TScratchDir dir;
  WriteFile(dir / "p.kxp", full);
  TFileLoader loader;
  ASSERT_NO_THROW(loader.LoadFromFile(dir / "p.kxp"));
  for (size_t n = 0; n < full.size(); ++n) {
    WriteFile(dir / "p.kxp", full.substr(0, n));
    EXPECT_THROW(loader.LoadFromFile(dir / "p.kxp"), std::runtime_error) << n;
  }
}

TEST(FileLoader, WrongMagicIsRefused) {
  for (const char* magic : {"KX060698", "kx060697", "XX060697"}) {
    std::string bytes = MakePictureFile(SmallPictureFile());
    bytes.replace(0, 8, magic);
    try {
      LoadBytes(bytes);
      ADD_FAILURE() << magic;
    } catch (const TFileIOError& e) {
      EXPECT_STREQ(e.what(), "Incorrect Project File!");
    }
  }
}

// Lengths and counts beyond what remains fail before anything is allocated.
TEST(FileLoader, LengthsBeyondTheFileFail) {
  const std::string magic(kPictureFileMagic);
  for (const std::string& bytes : {
           magic + Int32(0x7FFFFFFF) + "x",  // title
           magic + Int32(-1),                // title
           magic + Int32(0) + Int32(0) + Int32(0x40000000),  // thumbnail
       })
    EXPECT_THROW(LoadBytes(bytes), TFileIOError);

  // The region map's count, just after the four wave records.
  const TPictureFileParts p = SmallPictureFile();
  std::string bytes = MakePictureFile(p);
  const size_t countAt = 8 + 4 + p.Title.size() + 4 + p.Description.size() + 4 + p.Thumbnail.size() + 4 + 4 * 32;
  ASSERT_EQ(bytes.substr(countAt, 4), Int32(3));
  bytes.replace(countAt, 4, Int32(0x3FFFFFFF));
  EXPECT_THROW(LoadBytes(bytes), TFileIOError);
}

TEST(FileLoader, PictureThatDoesNotDecodeFails) {
  TPictureFileParts p = SmallPictureFile();
  p.Picture = p.Picture.substr(0, p.Picture.size() / 2);
  EXPECT_THROW(LoadBytes(MakePictureFile(p)), TDecodeError);
  p = SmallPictureFile();
  p.Thumbnail = "not a jpeg";
  EXPECT_THROW(LoadBytes(MakePictureFile(p)), TDecodeError);
}

// Headers of huge pictures over small data: the main picture decodes within
// the picture budget and the thumbnail within its own, each at the DCT scale
// that brings it under its budget; a thumbnail above it even at 1/8 fails the load.
TEST(FileLoader, PicturesAboveTheirBudgetsDecodeScaled) {
  struct {
    const char* name;
    uint16_t thumbW, thumbH, picW, picH;  // 0: the small picture as it is
    int32_t wantThumbW, wantThumbH, wantPicW, wantPicH;  // 0: refused
  } cases[] = {
      {"HugePicture", 0, 0, 16384, 16384, 4, 3, 4096, 4096},
      {"PictureJustOverItsBudget", 0, 0, 8192, 4097, 4, 3, 4096, 2049},
      {"PictureAtItsBudget", 0, 0, 8192, 4096, 4, 3, 8192, 4096},
      {"LargeThumbnail", 4096, 4096, 0, 0, 1024, 1024, 8, 6},
      {"ThumbnailAboveItsBudgetAtAnyScale", 16384, 16384, 0, 0, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TPictureFileParts p = SmallPictureFile();
    if (c.thumbW) p.Thumbnail = kxtest::PatchJpegSize(p.Thumbnail, c.thumbW, c.thumbH);
    if (c.picW) p.Picture = kxtest::PatchJpegSize(p.Picture, c.picW, c.picH);
    TScratchDir dir;
    WriteFile(dir / "p.kxp", MakePictureFile(p));
    TFileLoader loader;
    if (c.wantThumbW == 0) {
      EXPECT_THROW(loader.LoadHeader(dir / "p.kxp"), TDecodeError);
      EXPECT_THROW(loader.LoadFromFile(dir / "p.kxp"), TDecodeError);
      continue;
    }
    loader.LoadFromFile(dir / "p.kxp");
    TBitmap32 thumbnail, picture;
    loader.GetThumbnail(thumbnail);
    loader.GetPicture(picture);
    EXPECT_EQ((std::array{thumbnail.Width(), thumbnail.Height()}), (std::array{c.wantThumbW, c.wantThumbH}));
    EXPECT_EQ((std::array{picture.Width(), picture.Height()}), (std::array{c.wantPicW, c.wantPicH}));
  }
}

TEST(FileLoader, EmptyTitleIsFollowedByTheDescription) {
  TPictureFileParts p = SmallPictureFile();
  p.Title = "";
  const TFileLoader loader = LoadBytes(MakePictureFile(p));
  EXPECT_EQ(loader.Title, "");
  EXPECT_EQ(loader.Description, "Evening");
}

TEST(FileLoader, HeaderLoadStopsAfterTheThumbnail) {
  TPictureFileParts p = SmallPictureFile();
  p.Picture = "never decoded";
  const std::string bytes = MakePictureFile(p);
  const size_t headerEnd = 8 + 4 + 4 + 4 + 7 + 4 + p.Thumbnail.size();
  TScratchDir dir;
  WriteFile(dir / "p.kxp", bytes.substr(0, headerEnd));
  TFileLoader loader;
  loader.LoadHeader(dir / "p.kxp");
  EXPECT_EQ(loader.Title, "Lake");
  TBitmap32 thumbnail, picture;
  loader.GetThumbnail(thumbnail);
  loader.GetPicture(picture);
  EXPECT_EQ(thumbnail.Width(), 4);
  EXPECT_TRUE(picture.Empty());
  EXPECT_THROW(loader.LoadFromFile(dir / "p.kxp"), TFileIOError);
  EXPECT_THROW(loader.LoadHeader(dir / "missing.kxp"), TFileIOError);
}

// A folder in place of any file the player reads is refused (a named pipe
// too: FileIOTest_posix.cpp).
TEST(FileReaders, FoldersAreRefused) {
  TScratchDir dir;
  const std::string path = dir.Path();
  TFileLoader loader;
  EXPECT_THROW(loader.LoadFromFile(path), TFileIOError);
  EXPECT_EQ(ReadFileText(path, kMaxTextBytes), "");
  EXPECT_TRUE(TIniFile::FromFile(path).SectionNames().empty());
  EXPECT_THROW(ReadPictureBytes(path), TDecodeError);
  EXPECT_FALSE(FindContainer(path).found);
}

TEST(FileLoader, SecondLoadKeepsNothingOfTheFirst) {
  TScratchDir dir;
  WriteFile(dir / "a.kxp", MakePictureFile(Filled(TPictureFileTail::Full, 8)));
  WriteFile(dir / "b.kxp", MakePictureFile(SmallPictureFile()));
  TFileLoader loader;
  loader.LoadFromFile(dir / "a.kxp");
  loader.LoadFromFile(dir / "b.kxp");
  const TLoaded r = Records(loader);
  for (const auto& w : r.waves) EXPECT_EQ(w, kDefaultWaveRecord);
  for (const auto& s : r.sounds) EXPECT_EQ(s, (std::array<uint8_t, kSoundRecordSize>{}));
  EXPECT_EQ(r.weather, (std::array<uint8_t, kWeatherRecordSize>{}));
  EXPECT_EQ(loader.ObjectsText, "");
  EXPECT_EQ(loader.SoundFile, "");
}

// ---- region map ----

struct RegionCase {
  const char* name;
  std::vector<int32_t> ints;
  std::vector<uint32_t> want;  // pixels in row order
};

class RegionMapTest : public testing::TestWithParam<RegionCase> {};

TEST_P(RegionMapTest, DecodesRuns) {
  const RegionCase& c = GetParam();
  TBitmap32 b(2, 2, 0x12345678);  // whatever it held before is replaced
  DecodeRegionMap(c.ints, b);
  ASSERT_EQ(b.Width(), c.ints[0]);
  ASSERT_EQ(b.Height(), c.ints[1]);
  ASSERT_EQ(size_t(b.Width()) * b.Height(), c.want.size());
  for (size_t i = 0; i < c.want.size(); ++i) EXPECT_EQ(b.Bits()[i], c.want[i]) << i;
}

const uint32_t kB = 0x0000FF, kM = 0xFF00FF, kR = 0xFF0000, kY = 0xFFFF00, kG = 0x00FF00, kC = 0x00FFFF;

INSTANTIATE_TEST_SUITE_P(
    Runs, RegionMapTest,
    testing::Values(
        RegionCase{"StartOfRow", {3, 1, 21, 12}, {kB, kB, kM}},
        RegionCase{"EveryCode", {7, 1, 10, 11, 12, 13, 14, 15, 16}, {0, kB, kM, kR, kY, kG, kC}},
        RegionCase{"RunsContinueAcrossRows", {2, 2, 31, 12}, {kB, kB, kB, kM}},
        RegionCase{"CodesAboveSixAreNone", {3, 1, 17, 18, 19}, {0, 0, 0}},
        RegionCase{"NegativeAndEmptyRunsWriteNothing", {2, 1, -21, 3, 13, 14}, {kR, kY}},
        RegionCase{"RunsPastTheEndStop", {2, 1, 2147483641, 12}, {kB, kB}},
        RegionCase{"PixelsNoRunReachesAreNone", {3, 1, 11}, {kB, 0, 0}},
        RegionCase{"SizeOnly", {2, 1}, {0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegionMap, LargeMapWithOneRun) {
  TBitmap32 b;
  DecodeRegionMap(std::vector<int32_t>{1280, 1024, 13107200}, b);
  EXPECT_EQ(b, TBitmap32(1280, 1024, 0));
}

TEST(RegionMap, BadSizesAreRefused) {
  for (const std::vector<int32_t>& ints : std::vector<std::vector<int32_t>>{
           {}, {5}, {0, 5, 10}, {5, 0}, {-1, 5}, {32769, 1}, {1, 32769}, {32768, 32768}}) {
    TBitmap32 b;
    EXPECT_THROW(DecodeRegionMap(ints, b), std::runtime_error) << ints.size();
  }
  TBitmap32 b;
  EXPECT_NO_THROW(DecodeRegionMap(std::vector<int32_t>{32768, 1}, b));
}

// A few integers can describe a map of any size; beyond the pixel budget of
// decoded pictures it is refused before anything is allocated.
TEST(RegionMap, MapsAboveThePixelBudgetAreRefused) {
  for (const std::vector<int32_t>& ints : std::vector<std::vector<int32_t>>{{16384, 16384, 10}, {8192, 4097}, {4097, 8192}}) {
    TBitmap32 b;
    EXPECT_THROW(DecodeRegionMap(ints, b), TFileIOError) << ints[0] << "x" << ints[1];
    EXPECT_TRUE(b.Empty());
  }
  TBitmap32 b;
  DecodeRegionMap(std::vector<int32_t>{8192, 4096, 11}, b);
  EXPECT_EQ(b.Pixel(0, 0), kRegionPixels[1]);
  EXPECT_EQ(b.Pixel(8191, 4095), kRegionPixels[0]);
}

TEST(RegionMap, EncodeDecodeRoundTrip) {
  TBitmap32 colours(5, 3, 0);
  const uint32_t mixed[] = {kB, kB, 0x123456, kM, kR, kR, kR, kY, kG, kC, kC, 0, 0, kB, 0xFF0000FF};
  std::memcpy(colours.Bits(), mixed, sizeof mixed);
  const std::vector<int32_t> ints = EncodeRegionMap(colours);
  EXPECT_EQ(ints, (std::vector<int32_t>{5, 3, 21, 10, 12, 33, 14, 15, 26, 20, 21}));
  TBitmap32 decoded;
  DecodeRegionMap(ints, decoded);
  for (int i = 0; i < 15; ++i) EXPECT_EQ(decoded.Bits()[i], kRegionPixels[RegionCodeOf(mixed[i])]) << i;
}

TEST(StillPicture, ByExtensionInAnyCase) {
  for (const char* still : {"PHOTO.JPG", "a.jpg", "dir/b.Bmp", "c.gif", "C:\\pics\\d.JPG", "a.png", "B.PNG",
                            "photo.jpeg", "Photo.JPEG"})
    EXPECT_TRUE(IsStillPicture(still)) << still;
  for (const char* file : {"lake.kxp", "lake.KXP", "noext", "dir.jpg/file", "x.png.kxp", "x.jpg.kxp", "x.webp.kxp",
                           "a.tiff", "clip.mp4", "x.heic/file"})
    EXPECT_FALSE(IsStillPicture(file)) << file;
}

// WebP, HEIC and AVIF are still pictures where this build decodes them, and
// only there: a picture the program cannot show is not offered as one.
TEST(StillPicture, NewerFormatsWhereTheBuildDecodesThem) {
  const struct {
    const char* name;
    TPictureKind kind;
  } cases[] = {{"a.webp", TPictureKind::Webp}, {"B.WEBP", TPictureKind::Webp}, {"IMG_0001.HEIC", TPictureKind::Heic},
               {"c.heif", TPictureKind::Heic},  {"d.avif", TPictureKind::Avif}, {"dir/E.Avif", TPictureKind::Avif}};
  for (const auto& c : cases) EXPECT_EQ(IsStillPicture(c.name), PictureKindBuiltIn(c.kind)) << c.name;
}

TEST(StillPicture, UpperExtensionOfTheNameAtTheEnd) {
  const struct {
    const char* path;
    const char* ext;
  } cases[] = {
      {"lake.kxp", ".KXP"},       {"dir/Photo.Jpeg", ".JPEG"}, {"C:\\pics\\d.jpg", ".JPG"}, {"x.jpg.kxp", ".KXP"},
      {"noext", ""},              {"dir.jpg/file", ""},        {"dir.jpg\\file", ""},         {"", ""},
      {"name.", "."},             {".kxp", ".KXP"},
  };
  for (const auto& c : cases) EXPECT_EQ(UpperExtension(c.path), c.ext) << c.path;
}

}  // namespace
