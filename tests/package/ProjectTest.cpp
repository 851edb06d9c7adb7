#include <gtest/gtest.h>

#include "package/uKXProject.h"
#include "support/PackageBuilder.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::MakeDescription;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

std::string AllSettings(const TKXCSetting& s) {
  std::string text;
  for (const TSettingField& f : SettingFields())
    text += std::string(f.Section) + "." + std::string(f.Key) + "=" + SettingText(s, f) + "\n";
  return text;
}

TEST(TKXCSetting, MembersDefaultsAndSectionsInTableOrder) {
  const std::string expected =
      "General.ProductName=My Screensaver\nGeneral.Publisher=\nGeneral.Website=\n"
      "Default.Stretch=1\nDefault.Proportional=0\nDefault.Sound=1\nDefault.SoundVolume=100\n"
      "Default.Music=1\nDefault.MusicVolume=100\nDefault.Animation=1\nDefault.Random=1\n"
      "Default.Duration=30\nDefault.Transition=1\nDefault.TransitionTime=2000\n"
      "Default.TransitionEffects=" + TKXCSetting::AllEffectNumbers() + "\n"
      "Default.Zoom=0\nDefault.LivingZoom=0\nDefault.ZoomDuration=5\nDefault.AutoWallpaper=0\n"
      "Default.Speed=100\nDefault.ShowImageMode=0\nDefault.DirectX=0\nDefault.DirectXQuality=0\n"
      "Default.ShowClock=0\nDefault.ClockPos=1\n"
      "Advance.PreviewFile=\nAdvance.MusicFile=\nAdvance.MusicMode=0\n"
      "Build.BuildMethod=2\nBuild.BuildSmallThumbs=1\nBuild.BuildFileName=\nBuild.BuildInstall=\n"
      "Build.BuildIcon=\nBuild.CustomIcon=0\n";
  EXPECT_EQ(AllSettings(TKXCSetting()), expected);
}

TEST(TKXCSetting, AllEffectNumbersHasNoTrailingComma) {
  const std::string all = TKXCSetting::AllEffectNumbers();
  EXPECT_EQ(all.substr(0, 6), "1,2,3,");
  EXPECT_EQ(all.substr(all.size() - 8), ",168,169");
}

TEST(TKXCSetting, MissingKeysKeepTheirValuesAndBadNumbersTheDefault) {
  TScratchDir dir;
  WriteFile(dir / "s.ini",
            "[General]\r\nProductName=Lake=Quiet\r\n[Advance]\r\nMusicFile=a.mp3;b.mid\r\nMusicMode=x1\r\n");
  TKXCSetting s;
  s.Duration = 12;  // a member's current value is the default of its key
  s.LoadFromFile(dir / "s.ini");
  EXPECT_EQ(s.ProductName, "Lake=Quiet");
  EXPECT_EQ(s.MusicFile, "a.mp3;b.mid");
  EXPECT_EQ(s.MusicMode, 0);
  EXPECT_EQ(s.Duration, 12);
  EXPECT_EQ(s.TransitionTime, 2000);
  EXPECT_TRUE(s.Stretch);
  EXPECT_FALSE(s.Proportional);
}

TEST(TKXCSetting, StretchValues) {
  const std::pair<const char*, bool> cases[] = {{"yes", true}, {"2", true}, {"0", false}, {"1", true}, {"-7", true}};
  TScratchDir dir;
  for (const auto& [value, expected] : cases) {
    WriteFile(dir / "s.ini", std::string("[Default]\nStretch=") + value + "\n");
    TKXCSetting s;
    s.LoadFromFile(dir / "s.ini");
    EXPECT_EQ(s.Stretch, expected) << value;
  }
}

TEST(TKXCFileList, NamesInOrderWithStates) {
  TScratchDir dir;
  WriteFile(dir / "f.ini", "[FileListHeader]\r\nHeader=1\r\n[FileList]\r\nLake.kxp=1\r\nb.jpg=0\r\nc.GIF=1\r\n");
  TKXCFileList list;
  list.Names = {"stale"};
  list.States = {"TRUE"};
  list.LoadFromFile(dir / "f.ini");
  EXPECT_EQ(list.Names, (std::vector<std::string>{"Lake.kxp", "b.jpg", "c.GIF"}));
  EXPECT_EQ(list.States, (std::vector<std::string>{"TRUE", "FALSE", "TRUE"}));
}

struct PackageCase {
  const char* name;
  std::vector<std::string> entries;
  bool loads;
};

class LoadFromPackage : public testing::TestWithParam<PackageCase> {};

const std::string kList = "[FileList]\r\nLake.jpg=1\r\n";
const std::string kSettings = "[Default]\r\nDuration=7\r\n";
const std::string kUI = "[UI]\r\nUIFile=C:\\Author\\ui.kxu\r\n";

TEST_P(LoadFromPackage, LoadsThreeOrFourEntriesOnly) {
  TScratchDir dir;
  WriteFile(dir / "KXC.res", MakeContainer(GetParam().entries));
  TKXCProject project;
  project.LoadFromPackage(dir / "KXC.res");
  if (GetParam().loads) {
    EXPECT_EQ(project.FileList.Names, std::vector<std::string>{"Lake.jpg"});
    EXPECT_EQ(project.Settings.Duration, 7);
    EXPECT_EQ(project.UISettings.UIFile, "C:\\Author\\ui.kxu");
  } else {
    EXPECT_TRUE(project.FileList.Names.empty());
    EXPECT_EQ(project.Settings.Duration, 30);
    EXPECT_EQ(project.UISettings.UIFile, "");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Counts, LoadFromPackage,
    testing::Values(PackageCase{"Three", {kList, kSettings, kUI}, true},
                    PackageCase{"FourthIgnored", {kList, kSettings, kUI, MakeContainer({"x"})}, true},
                    PackageCase{"Two", {kList, kSettings}, false},
                    PackageCase{"Five", {kList, kSettings, kUI, "", ""}, false},
                    PackageCase{"None", {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TKXCProject, MissingFileKeepsDefaults) {
  TKXCProject project;
  project.LoadFromPackage("/nonexistent/KXC.res");
  EXPECT_TRUE(project.FileList.Names.empty());
  EXPECT_EQ(project.Settings.ProductName, "My Screensaver");
}

TEST(TKXCProject, RelocatesFileReferencesIntoTheWorkFolder) {
  TKXCProject project;
  project.FileList.Names = {"Lake.jpg", "sub\\Sea.kxp"};
  project.FileList.States = {"TRUE", "TRUE"};
  project.Settings.PreviewFile = "C:\\Author\\preview.jpg";
  project.UISettings.UIFile = "C:\\Author\\ui.kxu";
  project.RelocateFiles("/tmp/Lake4567/");
  EXPECT_EQ(project.FileList.Names,
            (std::vector<std::string>{"/tmp/Lake4567/Lake.jpg", "/tmp/Lake4567/sub\\Sea.kxp"}));
  EXPECT_EQ(project.Settings.PreviewFile, "/tmp/Lake4567/preview.jpg");
  EXPECT_EQ(project.UISettings.UIFile, "/tmp/Lake4567/KXGUI.kxu");

  TKXCProject empty;
  empty.RelocateFiles("/w/");
  EXPECT_EQ(empty.Settings.PreviewFile, "");
  EXPECT_EQ(empty.UISettings.UIFile, "/w/KXGUI.kxu");
}

}  // namespace
