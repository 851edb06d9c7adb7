#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "animation/uCreatorProject.h"
#include "animation/uFitResize.h"
#include "animation/uObjectPicture.h"
#include "devices/uMessageBox.h"
#include "package/uFileIO.h"
#include "support/PictureFileBuilder.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::SmallPictureFile;
using kxtest::StoredBytes;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

TSoundParam Sound(const std::string& path, int32_t mode = 1, int32_t min = 5, int32_t max = 9) {
  TSoundParam s{};
  s.SetPath(path);
  s.PlayMode = mode;
  s.MinSeconds = min;
  s.MaxSeconds = max;
  return s;
}

class ProjectFile {
 public:
  TPictureFileParts parts = SmallPictureFile();
  void SetSound(size_t i, const TSoundParam& s) { parts.Sounds[i] = StoredBytes(s); }
  void SetWeather(const TWeatherParam& w) { parts.Weather = StoredBytes(w); }
  void AddWave(const TWaveParam& w) { parts.Waves.push_back(StoredBytes(w)); }
  std::string Write(const TScratchDir& dir, const std::string& name = "p.kxp") const {
    WriteFile(dir / name, MakePictureFile(parts));
    return dir / name;
  }
};

TEST(TProject, CreateIsEmpty) {
  const TProject p;
  EXPECT_FALSE(p.Loaded);
  EXPECT_TRUE(p.Picture.Empty());
  EXPECT_EQ(p.Speed, 100);
  EXPECT_EQ(p.GetWave(7).Amplitude, 0);
  EXPECT_EQ(p.UsedSoundCount(), 0);
  EXPECT_THROW(p.GetWave(8), std::out_of_range);
  EXPECT_THROW(p.GetWave(-1), std::out_of_range);
}

TEST(TProject, LoadTakesEveryRecord) {
  TScratchDir dir;
  ProjectFile f;
  f.parts.RegionMap = {8, 6, 21, 470};
  TWaveParam wave{};
  std::memcpy(&wave, kDefaultWaveRecord.data(), sizeof wave);
  for (int i = 0; i < 6; ++i) {
    wave.Amplitude = 10 + i;
    wave.Reflect = uint8_t(i % 2);
    f.AddWave(wave);
  }
  f.SetWeather({2, 300, 10, 80, 15, 4});
  f.SetSound(0, Sound("a.wav", 2, 7, 0));
  f.parts.ObjectsText = "[Obj0]\r\nObjType=GIF\r\nFilename=bird.gif\r\n[Obj1]\r\nObjType=IMG\r\n";
  f.parts.ExtraText = "[BuildScr],Filename=x.scr,Music=1,,[BuildExe],Sound=0";
  TProject p;
  p.SetSpeed(140);
  ASSERT_TRUE(p.Load(f.Write(dir)));
  EXPECT_TRUE(p.Loaded);
  EXPECT_EQ(p.FileName, dir / "p.kxp");
  EXPECT_EQ(p.Title, "Lake");
  EXPECT_EQ(p.Description, "Evening");
  EXPECT_EQ(p.Picture.Width(), 8);
  EXPECT_EQ(p.DesignWidth, 8);
  EXPECT_EQ(p.DesignHeight, 6);
  EXPECT_EQ(p.Thumbnail.Height(), 3);
  EXPECT_EQ(p.RegionMap.Pixel(1, 0), kRegionPixels[1]);
  EXPECT_EQ(p.RegionMap.Pixel(2, 0), kRegionPixels[0]);
  EXPECT_EQ(p.Speed, 140);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(p.GetWave(i).Amplitude, 10 + i);
    EXPECT_EQ(p.GetWave(i).Reflect, i % 2);
  }
  // Records the file does not supply are the loader's defaults.
  const TWaveParam& d = p.GetWave(7);
  EXPECT_EQ((std::vector<int>{d.Amplitude, d.Cycles, d.WaveSpeed, d.Direction, d.Horizontal, d.Vertical,
                              d.Perspective, d.Period, d.Jitter, d.Reflect}),
            (std::vector<int>{6, 17, 15, 1, 0, 1, 1, 360, 0, 0}));
  EXPECT_EQ(p.Weather.Count, 300);
  EXPECT_EQ(p.Weather.Level, 4);
  EXPECT_EQ(p.Sounds[0].Path(), "a.wav");
  EXPECT_EQ(p.Sounds[0].MinSeconds, 7);
  ASSERT_EQ(p.Objects.Count(), 2u);
  EXPECT_NE(dynamic_cast<const TGifObject*>(&p.Objects[0]), nullptr);
  EXPECT_EQ(dynamic_cast<const TGifObject&>(p.Objects[0]).FileName, "bird.gif");
  EXPECT_NE(dynamic_cast<const TImgObject*>(&p.Objects[1]), nullptr);
  EXPECT_EQ(p.ExtraInfo.ScrFileName, "x.scr");
  EXPECT_TRUE(p.ExtraInfo.ScrMusic);
  EXPECT_TRUE(p.ExtraInfo.ScrSound);
  EXPECT_FALSE(p.ExtraInfo.ExeSound);
}

struct WeatherCase {
  int32_t kind, level, want;
};

TEST(TProject, WeatherLevelDefaults) {
  for (const WeatherCase& c : {WeatherCase{1, 0, 9}, {2, 0, 6}, {0, 0, 0}, {3, 0, 0}, {1, 4, 4}, {2, 10, 10}}) {
    TScratchDir dir;
    ProjectFile f;
    f.SetWeather({c.kind, 10, 5, 90, 10, c.level});
    TProject p;
    ASSERT_TRUE(p.Load(f.Write(dir)));
    EXPECT_EQ(p.Weather.Level, c.want) << c.kind << " " << c.level;
  }
}

// The single sound text of older files, with the records the file holds.
struct LegacyCase {
  const char* name;
  std::string legacy;
  std::vector<std::string> records;  // paths of records 0.. ("" = empty record)
  std::vector<std::string> want;     // paths of all eight records after loading
  int used;
};

class LegacySoundTest : public testing::TestWithParam<LegacyCase> {};

TEST_P(LegacySoundTest, MovesIntoTheFirstFreeRecord) {
  const LegacyCase& c = GetParam();
  TScratchDir dir;
  ProjectFile f;
  f.parts.SoundFile = c.legacy;
  for (size_t i = 0; i < c.records.size(); ++i) f.SetSound(i, Sound(c.records[i]));
  f.parts.Tail = c.records.empty() ? TPictureFileTail::None : TPictureFileTail::Full;
  TProject p;
  ASSERT_TRUE(p.Load(f.Write(dir)));
  EXPECT_EQ(p.LegacySound, "");
  EXPECT_EQ(p.UsedSoundCount(), c.used);
  for (size_t i = 0; i < 8; ++i) {
    const std::string want = i < c.want.size() ? c.want[i] : "";
    EXPECT_EQ(p.Sounds[i].Path(), want) << i;
    // A moved name loops; every other field of its record is what the file gave.
    const bool moved = want != "" && (i >= c.records.size() || c.records[i] == "");
    EXPECT_EQ(p.Sounds[i].PlayMode, moved ? 0 : (i < c.records.size() ? 1 : 0)) << i;
    EXPECT_EQ(p.Sounds[i].MinSeconds, i < c.records.size() ? 5 : 0) << i;
  }
}

const std::string kLong(300, 'n');
const std::vector<std::string> kEight = {"1", "2", "3", "4", "5", "6", "7", "8"};

INSTANTIATE_TEST_SUITE_P(
    Variants, LegacySoundTest,
    testing::Values(LegacyCase{"OlderFileWithSound", "wind.wav", {}, {"wind.wav"}, 1},
                    LegacyCase{"NoSoundMarker", "<NO SOUND>", {}, {}, 0},
                    LegacyCase{"NoSoundMarkerAnyCase", "<No Sound>", {}, {}, 0},
                    LegacyCase{"Empty", "", {"a", "b"}, {"a", "b"}, 2},
                    LegacyCase{"AfterTheUsedRecords", "wind.wav", {"a", "b", "", "d"}, {"a", "b", "wind.wav", "d"}, 4},
                    LegacyCase{"AllEightUsedDropsIt", "wind.wav", kEight, kEight, 8},
                    LegacyCase{"CutTo255", kLong, {}, {kLong.substr(0, 255)}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TProject, UsedSoundCountStopsAtTheFirstEmptyRecord) {
  TScratchDir dir;
  ProjectFile f;
  f.SetSound(0, Sound("a"));
  f.SetSound(1, Sound("b"));
  f.SetSound(3, Sound("d"));
  TProject p;
  ASSERT_TRUE(p.Load(f.Write(dir)));
  EXPECT_EQ(p.UsedSoundCount(), 2);
}

TEST(TProject, SecondLoadKeepsNothingOfTheFirst) {
  TScratchDir dir;
  ProjectFile first;
  for (int i = 0; i < 8; ++i) {
    TWaveParam w{};
    w.Amplitude = 50 + i;
    first.AddWave(w);
  }
  first.SetSound(0, Sound("a"));
  first.SetWeather({1, 100, 3, 90, 10, 0});
  first.parts.ObjectsText = "[Obj0]\r\nObjType=IMG\r\n";
  first.parts.ExtraText = "[BuildExe],Filename=x.exe";
  first.parts.RegionMap = {8, 6, 481};
  ProjectFile second;
  second.parts.Title = "Second";
  second.parts.Tail = TPictureFileTail::None;

  TProject p;
  ASSERT_TRUE(p.Load(first.Write(dir, "a.kxp")));
  ASSERT_EQ(p.Objects.Count(), 1u);
  ASSERT_TRUE(p.Load(second.Write(dir, "b.kxp")));
  EXPECT_EQ(p.Title, "Second");
  for (int i = 0; i < 8; ++i) EXPECT_EQ(p.GetWave(i).Amplitude, 6) << i;
  EXPECT_EQ(p.UsedSoundCount(), 0);
  EXPECT_EQ(p.Weather.Kind, 0);
  EXPECT_EQ(p.Weather.Level, 0);
  EXPECT_TRUE(p.Objects.Empty());
  EXPECT_EQ(p.ExtraInfo.ExeFileName, "");
  EXPECT_TRUE(p.ExtraInfo.ExeSound);
  EXPECT_EQ(p.RegionMap.Pixel(0, 0), kRegionPixels[0]);
}

TEST(TProject, FailedLoadLeavesTheProjectEmpty) {
  TScratchDir dir;
  ProjectFile good;
  good.SetSound(0, Sound("a"));
  std::string wrongMagic = MakePictureFile(good.parts);
  wrongMagic[7] = '8';
  WriteFile(dir / "bad.kxp", wrongMagic);
  ProjectFile badMap, hugeMap, negativeMap;
  badMap.parts.RegionMap = {8};
  hugeMap.parts.RegionMap = {32769, 1};
  negativeMap.parts.RegionMap = {-8, 6};
  const std::vector<std::pair<std::string, std::string>> failures = {
      {dir / "bad.kxp", "Incorrect Project File!"},
      {badMap.Write(dir, "map.kxp"), "region map size differs from the picture size"},
      {hugeMap.Write(dir, "huge.kxp"), "region map size out of range"},
      {negativeMap.Write(dir, "negative.kxp"), "region map size out of range"},
      {dir / "missing.kxp", ""}};
  for (const auto& [file, message] : failures) {
    TProject p;
    p.SetSpeed(70);
    ASSERT_TRUE(p.Load(good.Write(dir)));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(p.Load(file));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // no message box
    if (!message.empty()) {
      EXPECT_EQ(p.LoadError, message);
    }
    EXPECT_FALSE(p.Loaded);
    EXPECT_EQ(p.FileName, "");
    EXPECT_TRUE(p.Picture.Empty());
    EXPECT_TRUE(p.RegionMap.Empty());
    EXPECT_TRUE(p.Thumbnail.Empty());
    EXPECT_EQ(p.GetWave(0).Amplitude, 0);
    EXPECT_EQ(p.UsedSoundCount(), 0);
    EXPECT_EQ(p.Speed, 70);
  }
}

// Maps of other sizes than the 8 x 6 picture: the empty map means no water,
// any other is stretched over the picture by nearest pixel.
TEST(TProject, RegionMapsOfOtherSizesCoverThePicture) {
  struct TCase {
    const char* name;
    std::vector<int32_t> map;
    TRect area;  // where the picture's map holds the code; no area elsewhere
    int code;
  };
  const TCase cases[] = {
      {"Empty", {0, 0}, {}, 0},
      // 4 x 3: the two left pixels of the top row, area 1.
      {"HalfSize", {4, 3, 21, 20, 80}, {0, 0, 4, 2}, 1},
      // 16 x 12: the four left pixels of the second row, area 2; the centres of
      // the picture's pixels fall on the map's odd rows and columns.
      {"DoubleSize", {16, 12, 160, 42, 120}, {0, 0, 2, 1}, 2},
      {"SameSize", {8, 6, 10, 33, 440}, {1, 0, 4, 1}, 3},
  };
  TScratchDir dir;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    ProjectFile f;
    f.parts.RegionMap = c.map;
    TProject p;
    ASSERT_TRUE(p.Load(f.Write(dir))) << p.LoadError;
    if (c.code == 0) {
      EXPECT_TRUE(p.RegionMap.Empty());
      continue;
    }
    ASSERT_EQ(p.RegionMap.Width(), 8);
    ASSERT_EQ(p.RegionMap.Height(), 6);
    for (int32_t y = 0; y < 6; ++y)
      for (int32_t x = 0; x < 8; ++x)
        EXPECT_EQ(p.RegionMap.Pixel(x, y), c.area.Contains({x, y}) ? kRegionPixels[c.code] : kRegionPixels[0])
            << x << "," << y;
  }
}

// Decoding a map straight to another size gives what decoding it at its own
// size and stretching it gives: random runs (negative ones, codes above 6,
// runs ending inside a row or before the map is full) over maps and targets
// of many shapes.
TEST(RegionMapTo, MatchesDecodingThenStretching) {
  const std::pair<TPoint, TPoint> sizes[] = {
      {{7, 5}, {3, 2}},  {{7, 5}, {16, 11}}, {{7, 5}, {7, 5}},   {{1, 9}, {4, 4}},  {{13, 1}, {5, 3}},
      {{9, 9}, {1, 1}},  {{3, 40}, {30, 4}}, {{40, 3}, {2, 41}}, {{1, 1}, {6, 5}},  {{64, 48}, {21, 17}},
  };
  std::mt19937 random(18);
  for (const auto& [map, target] : sizes)
    for (int round = 0; round < 20; ++round) {
      std::vector<int32_t> ints = {map.X, map.Y};
      const int64_t covered = int64_t(map.X) * map.Y * int64_t(random() % 5 + 1) / 4;  // a quarter to more than all
      for (int64_t pos = 0; pos < covered;) {
        const int32_t count = int32_t(random() % (2 * uint32_t(map.X) + 1)), code = int32_t(random() % 9);
        ints.push_back(random() % 10 == 0 ? -(count * 10 + code) : count * 10 + code);
        if (ints.back() > 0) pos += count;
      }
      TBitmap32 whole, direct(2, 2, 0x12345678);
      DecodeRegionMap(ints, whole);
      DecodeRegionMapTo(ints, target.X, target.Y, direct);
      ASSERT_EQ(direct, ResizeRegionMap(whole, target.X, target.Y))
          << map.X << "x" << map.Y << " to " << target.X << "x" << target.Y << " round " << round;
    }
}

// A map of the largest sides, four runs of 2^27 pixels of no area (the top
// 16384 rows) and four of area 1, costs no more than the picture it covers.
TEST(TProject, MapOfTheLargestSidesIsDecodedAtThePictureSize) {
  TScratchDir dir;
  ProjectFile f;
  f.parts.RegionMap = {32768, 32768};
  for (int i = 0; i < 8; ++i) f.parts.RegionMap.push_back((int32_t(1) << 27) * 10 + (i < 4 ? 0 : 1));
  TProject p;
  ASSERT_TRUE(p.Load(f.Write(dir))) << p.LoadError;
  ASSERT_EQ(p.RegionMap.Width(), 8);
  ASSERT_EQ(p.RegionMap.Height(), 6);
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(p.RegionMap.Pixel(x, y), kRegionPixels[y < 3 ? 0 : 1]) << x << "," << y;
}

// A main picture above the pixel budget decodes at half size; its map, made
// for the full size, covers the smaller picture, and the design size that
// object positions refer to stays the full size.
TEST(TProject, PictureAboveTheBudgetDecodesSmallerWithItsMap) {
  TScratchDir dir;
  ProjectFile f;
  f.parts.Picture = kxtest::PatchJpegSize(f.parts.Picture, 8192, 4097);
  f.parts.RegionMap = {8192, 4097, 2048 * 8192 * 10 + 2};  // the top 2048 rows are area 2
  TProject p;
  ASSERT_TRUE(p.Load(f.Write(dir))) << p.LoadError;
  EXPECT_EQ(p.Picture.Width(), 4096);
  EXPECT_EQ(p.Picture.Height(), 2049);
  EXPECT_EQ(p.DesignWidth, 8192);
  EXPECT_EQ(p.DesignHeight, 4097);
  ASSERT_EQ(p.RegionMap.Width(), 4096);
  ASSERT_EQ(p.RegionMap.Height(), 2049);
  // Picture row y samples map row (2y + 1) * 4097 / 4098: 2046 for row 1023, 2048 for row 1024.
  for (int32_t x : {0, 4095}) {
    EXPECT_EQ(p.RegionMap.Pixel(x, 1023), kRegionPixels[2]);
    EXPECT_EQ(p.RegionMap.Pixel(x, 1024), kRegionPixels[0]);
  }
}

TEST(TProject, LoadHeaderReadsTitleAndThumbnailOnly) {
  TScratchDir dir;
  ProjectFile f;
  f.parts.Picture = "not decoded";
  TProject p;
  ASSERT_TRUE(p.LoadHeader(f.Write(dir)));
  EXPECT_TRUE(p.Loaded);
  EXPECT_EQ(p.Title, "Lake");
  EXPECT_EQ(p.Thumbnail.Width(), 4);
  EXPECT_TRUE(p.Picture.Empty());
}

TEST(TProject, LoadHeaderReportsFailureInAMessageBox) {
  TScratchDir dir;
  WriteFile(dir / "bad.kxp", "KX060690");
  std::vector<std::string> shown;
  const TMessageBoxHandler previous = SetMessageBoxHandler([&](const std::string& t) { shown.push_back(t); });
  TProject p;
  EXPECT_FALSE(p.LoadHeader(dir / "bad.kxp"));
  SetMessageBoxHandler(previous);
  EXPECT_FALSE(p.Loaded);
  EXPECT_EQ(shown, std::vector<std::string>{"File: " + dir / "bad.kxp" + "\r\nIncorrect Project File!"});
}

struct ExtraCase {
  const char* text;
  TExtraInfo want;
};

TEST(TExtraInfo, ReadsTheCommaForm) {
  const ExtraCase cases[] = {
      {"", {"", "", false, true, "", "", false, true}},
      {"[BuildScr],Filename=,MusicFile=,Music=0,Sound=0,,[BuildExe],Filename=,MusicFile=,Music=0,Sound=0,",
       {"", "", false, false, "", "", false, false}},
      {"[buildscr],FILENAME=a.scr,MusicFile=m.mp3,Music=1,[BuildExe],Filename=b.exe,Sound=x",
       {"a.scr", "m.mp3", true, true, "b.exe", "", false, true}},
      {R"([BuildScr],"Filename=C:\My Files\a,b.scr","MusicFile=say ""hi"".mp3",[BuildExe],Filename=a"b".exe)",
       {R"(C:\My Files\a,b.scr)", R"(say "hi".mp3)", false, true, R"(a"b".exe)", "", false, true}},
  };
  for (const ExtraCase& c : cases) {
    const TExtraInfo got = TExtraInfo::FromText(c.text);
    EXPECT_EQ(got.ScrFileName, c.want.ScrFileName) << c.text;
    EXPECT_EQ(got.ScrMusicFile, c.want.ScrMusicFile) << c.text;
    EXPECT_EQ(got.ScrMusic, c.want.ScrMusic) << c.text;
    EXPECT_EQ(got.ScrSound, c.want.ScrSound) << c.text;
    EXPECT_EQ(got.ExeFileName, c.want.ExeFileName) << c.text;
    EXPECT_EQ(got.ExeMusicFile, c.want.ExeMusicFile) << c.text;
    EXPECT_EQ(got.ExeMusic, c.want.ExeMusic) << c.text;
    EXPECT_EQ(got.ExeSound, c.want.ExeSound) << c.text;
  }
}

TEST(Records, DefaultWaveRecordHasTheDocumentedFields) {
  TWaveParam w;
  std::memcpy(&w, kDefaultWaveRecord.data(), sizeof w);
  EXPECT_EQ(w.Amplitude, 6);
  EXPECT_EQ(w.Cycles, 17);
  EXPECT_EQ(w.WaveSpeed, 15);
  EXPECT_EQ(w.Direction, 1);
  EXPECT_EQ(w.Horizontal, 0);
  EXPECT_EQ(w.Vertical, 1);
  EXPECT_EQ(w.Perspective, 1);
  EXPECT_EQ(w.Period, 360);
  EXPECT_EQ(w.Jitter, 0);
  EXPECT_EQ(w.Reflect, 0);
}

}  // namespace
