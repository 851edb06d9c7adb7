#include <gtest/gtest.h>

#include <functional>

#include "os/uUserFiles.h"
#include "saver/uUserSettings.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

TKXCProject FourPictures() {
  TKXCProject p;
  p.FileList.Names = {"a.jpg", "b.jpg", "c.kxp", "d.gif"};
  p.FileList.States = {"TRUE", "TRUE", "TRUE", "TRUE"};
  return p;
}

using States = std::vector<std::string>;

struct ApplyCase {
  const char* name;
  std::string ini;  // "" for no file at all
  States states;
  std::function<void(const TKXCSetting&)> check;
};

class ApplyUserSettingsTest : public testing::TestWithParam<ApplyCase> {};

TEST_P(ApplyUserSettingsTest, ChangesTheProjectInMemory) {
  TScratchDir dir;
  if (!GetParam().ini.empty()) WriteFile(dir / "Lake.ini", GetParam().ini);
  TKXCProject project = FourPictures();
  project.Settings.Stretch = true;
  project.Settings.Proportional = true;
  project.Settings.Speed = 75;
  project.Settings.MusicFile = "author.mp3";
  ApplyUserSettings(project, dir / "Lake.ini");
  EXPECT_EQ(project.FileList.States, GetParam().states);
  GetParam().check(project.Settings);
}

const States kAll = {"TRUE", "TRUE", "TRUE", "TRUE"};

INSTANTIATE_TEST_SUITE_P(
    Cases, ApplyUserSettingsTest,
    testing::Values(
        ApplyCase{"NoFileChangesNothing", "", kAll,
                  [](const TKXCSetting& s) {
                    EXPECT_FALSE(s.DirectX);
                    EXPECT_EQ(s.DirectXQuality, 0);
                    EXPECT_EQ(s.Speed, 75);
                    EXPECT_TRUE(s.Proportional);
                  }},
        ApplyCase{"ModeThreeShowsTheIndexedPictureWithShowDefaults", "[Setting]\nImageMode=3\nIndex=2\n",
                  {"FALSE", "FALSE", "TRUE", "FALSE"},
                  [](const TKXCSetting& s) {
                    EXPECT_EQ(s.ShowImageMode, 3);
                    EXPECT_TRUE(s.DirectX);
                    EXPECT_EQ(s.DirectXQuality, 1);
                    EXPECT_FALSE(s.ShowClock);
                    EXPECT_EQ(s.ClockPos, 1);
                    EXPECT_EQ(s.Speed, 75);  // no "Speed": unchanged
                    EXPECT_TRUE(s.Stretch);  // no "ImageSize": the project's fitting
                    EXPECT_TRUE(s.Proportional);
                    EXPECT_EQ(s.Duration, 30);
                    EXPECT_EQ(s.MusicFile, "author.mp3");
                  }},
        ApplyCase{"ModeThreeIndexOutOfRangeShowsTheFirst", "[Setting]\nImageMode=3\nIndex=4\n",
                  {"TRUE", "FALSE", "FALSE", "FALSE"}, [](const TKXCSetting&) {}},
        ApplyCase{"ModeThreeNegativeIndexShowsTheFirst", "[Setting]\nImageMode=3\nIndex=-1\n",
                  {"TRUE", "FALSE", "FALSE", "FALSE"}, [](const TKXCSetting&) {}},
        ApplyCase{"ModeTwoUnticksListedPositionsOnly", "[Setting]\nImageMode=2\n[Files]\n0=\n5=\nx=\n3=\n",
                  {"FALSE", "TRUE", "TRUE", "FALSE"}, [](const TKXCSetting& s) { EXPECT_EQ(s.ShowImageMode, 2); }},
        ApplyCase{"ModeOneKeepsEveryPicture", "[Setting]\nImageMode=1\n[Files]\n0=\n", kAll,
                  [](const TKXCSetting& s) { EXPECT_EQ(s.ShowImageMode, 1); }},
        ApplyCase{"ImageSizeZeroSwitchesStretchOff", "[Setting]\nImageSize=0\n", kAll,
                  [](const TKXCSetting& s) {
                    EXPECT_FALSE(s.Stretch);
                    EXPECT_FALSE(s.Proportional);
                  }},
        ApplyCase{"ImageSizeOneStretchesWithoutProportions", "[Setting]\nImageSize=1\n", kAll,
                  [](const TKXCSetting& s) {
                    EXPECT_TRUE(s.Stretch);
                    EXPECT_FALSE(s.Proportional);
                  }},
        ApplyCase{"SpeedIndexZero", "[Setting]\nSpeed=0\n", kAll, [](const TKXCSetting& s) { EXPECT_EQ(s.Speed, 10); }},
        ApplyCase{"SpeedIndexTen", "[Setting]\nSpeed=10\n", kAll, [](const TKXCSetting& s) { EXPECT_EQ(s.Speed, 100); }},
        ApplyCase{"SpeedIndexTwenty", "[Setting]\nSpeed=20\n", kAll, [](const TKXCSetting& s) { EXPECT_EQ(s.Speed, 500); }},
        ApplyCase{"SpeedOutOfScaleIgnored", "[Setting]\nSpeed=21\n", kAll, [](const TKXCSetting& s) { EXPECT_EQ(s.Speed, 75); }},
        ApplyCase{"NotANumberTakesTheDefault", "[Setting]\nDuration=long\nDirectXQuality=best\nSound=0\n", kAll,
                  [](const TKXCSetting& s) {
                    EXPECT_EQ(s.Duration, 30);
                    EXPECT_EQ(s.DirectXQuality, 1);
                    EXPECT_FALSE(s.Sound);
                  }},
        ApplyCase{"CustomMusicEmptyListMeansNoMusicFiles", "[Setting]\nCustomMusic=1\n[MusicList]\n", kAll,
                  [](const TKXCSetting& s) {
                    EXPECT_EQ(s.MusicFile, "");
                    EXPECT_EQ(s.MusicMode, 0);
                  }},
        ApplyCase{"CustomMusicInOrder", "[Setting]\nCustomMusic=1\nShuffleMusic=0\n[MusicList]\n/m/a.mp3=\n/m/b.ogg=\n",
                  kAll,
                  [](const TKXCSetting& s) {
                    EXPECT_EQ(s.MusicFile, "/m/a.mp3;/m/b.ogg");
                    EXPECT_EQ(s.MusicMode, 1);
                  }},
        ApplyCase{"ClockAndDisplay", "[Setting]\nShowClock=1\nClockPos=3\nDirectX=0\nDirectXQuality=2\nMusic=0\n", kAll,
                  [](const TKXCSetting& s) {
                    EXPECT_TRUE(s.ShowClock);
                    EXPECT_EQ(s.ClockPos, 3);
                    EXPECT_FALSE(s.DirectX);
                    EXPECT_EQ(s.DirectXQuality, 2);
                    EXPECT_FALSE(s.Music);
                  }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
