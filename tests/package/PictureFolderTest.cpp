#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "package/uContainer.h"
#include "package/uKXProject.h"
#include "package/uPictureFolder.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::MakeDir;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

struct NameCase {
  const char* name;
  std::vector<std::string> paths;  // taken in this order by one package
  std::vector<std::string> names;
};

class PackagedNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(PackagedNameTest, GivesEveryFileANameOfItsOwn) {
  TPackagedNameSet set;
  std::vector<std::string> names;
  for (const std::string& p : GetParam().paths) names.push_back(set.Take(p));
  EXPECT_EQ(names, GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PackagedNameTest,
    testing::Values(
        NameCase{"PlainNamesStay", {"a.jpg", "b.png", "trip/c.kxp"}, {"a.jpg", "b.png", "c.kxp"}},
        // Windows takes names that differ in case for one file.
        NameCase{"CaseClashNumbered", {"a.jpg", "A.JPG", "a.Jpg"}, {"a.jpg", "A (2).JPG", "a (3).Jpg"}},
        NameCase{"NonAsciiCaseClash",
                 {"\xC3\xA9t\xC3\xA9.jpg", "\xC3\x89T\xC3\x89.jpg"},
                 {"\xC3\xA9t\xC3\xA9.jpg", "\xC3\x89T\xC3\x89 (2).jpg"}},
        NameCase{"SubfolderClashTakesItsPath",
                 {"x.jpg", "trip/x.jpg", "trip/day 2/x.jpg"},
                 {"x.jpg", "trip_x.jpg", "trip_day 2_x.jpg"}},
        NameCase{"PathTakenTooNumbered", {"x.jpg", "trip_x.jpg", "trip/x.jpg"}, {"x.jpg", "trip_x.jpg", "x (2).jpg"}},
        NameCase{"PackageEntriesAndLockAvoided",
                 {"kxgui.kxu", "KXC.RES", ".kxlock"},
                 {"kxgui (2).kxu", "KXC (2).RES", ".kxlock (2)"}},
        NameCase{"WindowsDeviceNamesAvoided",
                 {"CON.jpg", "nul.png", "com1.gif"},
                 {"CON (2).jpg", "nul (2).png", "com1 (2).gif"}},
        // A number before the last dot leaves the device name before the first.
        NameCase{"DeviceNameBeforeSeveralDots", {"CON.png.jpg", "con.png.jpg"}, {"_CON.png (2).jpg", "_con.png (3).jpg"}},
        // "=" splits an INI line, ";" the music list, ":" and "\\" end a
        // packaged name's folder part; a leading "[" starts a section.
        NameCase{"TextBreakingCharacters",
                 {"a=b;c:d.jpg", "x\\y.png", "[1].jpg", "p\r\nq\t.gif", "w<>\"|?*.jpg"},
                 {"a_b_c_d.jpg", "x_y.png", "_1].jpg", "p__q_.gif", "w______.jpg"}},
        NameCase{"BlanksAndTrailingDotsDropped",
                 {"  sea.jpg ", "dot.jpg..", "...", ""},
                 {"sea.jpg", "dot.jpg", "_", "_ (2)"}}),
    [](const auto& info) { return std::string(info.param.name); });

// A folder of every kind of file the scan meets.
class PictureFolderTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* f : {"b.jpg", "a.png", "c.kxp", "Z.gif", "d.bmp", "notes.txt", "noext", ".hidden.jpg", "song.OGG",
                          "track.flac", "voice.wav", "beat.mp3", "clip.mid"})
      WriteFile(dir / f, "x");
    MakeDir(dir / "sub");
    MakeDir(dir / "sub/deeper");
    MakeDir(dir / ".thumbs");
    MakeDir(dir / "folder.jpg");  // a folder is never a picture
    for (const char* f : {"sub/b.jpg", "sub/deeper/e.png", "sub/tune.ogg", ".thumbs/t.jpg"}) WriteFile(dir / f, "x");
  }

  static std::vector<std::string> Names(const std::vector<TFolderFile>& files) {
    std::vector<std::string> names;
    for (const TFolderFile& f : files) names.push_back(f.Name);
    return names;
  }

  TScratchDir dir;
};

TEST_F(PictureFolderTest, TakesPicturesAndMusicInByteOrderOfTheirPaths) {
  const TPictureFolder top = ScanPictureFolder(dir.Path(), false);
  EXPECT_EQ(Names(top.Pictures), (std::vector<std::string>{"Z.gif", "a.png", "b.jpg", "c.kxp", "d.bmp"}));
  EXPECT_EQ(Names(top.Music), (std::vector<std::string>{"beat.mp3", "song.OGG", "track.flac", "voice.wav"}));
  EXPECT_TRUE(top.Skipped.empty());
  ASSERT_FALSE(top.Pictures.empty());
  EXPECT_EQ(top.Pictures[0].Path, dir / "Z.gif");

  const TPictureFolder all = ScanPictureFolder(dir.Path(), true);
  EXPECT_EQ(Names(all.Pictures),
            (std::vector<std::string>{"Z.gif", "a.png", "b.jpg", "c.kxp", "d.bmp", "sub_b.jpg", "e.png"}));
  EXPECT_EQ(Names(all.Music),
            (std::vector<std::string>{"beat.mp3", "song.OGG", "tune.ogg", "track.flac", "voice.wav"}));
  EXPECT_EQ(all.Pictures[5].Path, dir / "sub/b.jpg");
  EXPECT_EQ(all.Pictures[6].Path, dir / "sub/deeper/e.png");
}

TEST_F(PictureFolderTest, LaterFilesOfThePackageGetFreeNames) {
  TPictureFolder found = ScanPictureFolder(dir.Path(), false);
  EXPECT_EQ(found.Names.Take("A.PNG"), "A (2).PNG");
  EXPECT_EQ(found.Names.Take("Preview.jpg"), "Preview.jpg");
}

TEST(PictureFolder, AMissingFolderIsAnError) {
  TScratchDir dir;
  EXPECT_THROW(ScanPictureFolder(dir / "none/", false), std::runtime_error);
  WriteFile(dir / "file", "x");
  EXPECT_THROW(ScanPictureFolder(dir / "file/", false), std::runtime_error);
}

// The description read back as the player reads it.
TKXCProject ReadBack(const std::string& description) {
  TScratchDir dir;
  WriteFile(dir / "player", "MZ" + description);
  TKXCProject project;
  project.LoadFromPackage(dir / "player");
  return project;
}

TEST(FolderProjectDescription, DescribesThePicturesMusicAndSettings) {
  TPictureFolder folder;
  folder.Pictures = {{"/p/b.jpg", "b.jpg"}, {"/p/a.kxp", "a.kxp"}, {"/p/s/b.jpg", "s_b.jpg"}};
  folder.Music = {{"/p/one.ogg", "one.ogg"}, {"/p/two.mp3", "two.mp3"}};
  TFolderProjectOptions options;
  options.ProductName = "Holiday 2026";
  options.Publisher = "Ann's";
  options.Duration = 7;
  options.TransitionTime = 900;
  options.Random = false;
  options.PreviewName = "Preview.jpg";
  options.BuildFileName = "Holiday.scr";
  const TKXCProject p = ReadBack(FolderProjectDescription(folder, options));
  EXPECT_EQ(p.FileList.Names, (std::vector<std::string>{"b.jpg", "a.kxp", "s_b.jpg"}));
  EXPECT_EQ(p.FileList.States, (std::vector<std::string>{"TRUE", "TRUE", "TRUE"}));
  const TKXCSetting& s = p.Settings;
  EXPECT_EQ(s.ProductName, "Holiday 2026");
  EXPECT_EQ(s.Publisher, "Ann's");
  EXPECT_EQ(s.Website, "");
  EXPECT_EQ(s.Duration, 7);
  EXPECT_EQ(s.TransitionTime, 900);
  EXPECT_FALSE(s.Random);
  EXPECT_TRUE(s.Stretch);
  EXPECT_TRUE(s.Proportional);
  EXPECT_TRUE(s.Transition);
  EXPECT_TRUE(s.Music);
  EXPECT_EQ(s.MusicFile, "one.ogg;two.mp3");
  EXPECT_EQ(s.MusicMode, 1);
  EXPECT_EQ(s.PreviewFile, "Preview.jpg");
  EXPECT_EQ(s.BuildFileName, "Holiday.scr");
  EXPECT_EQ(p.UISettings.UIFile, "KXGUI.kxu");

  // Without music the show plays none; the defaults are a photo show's.
  folder.Music.clear();
  const TKXCProject quiet = ReadBack(FolderProjectDescription(folder, TFolderProjectOptions{}));
  EXPECT_FALSE(quiet.Settings.Music);
  EXPECT_EQ(quiet.Settings.MusicFile, "");
  EXPECT_TRUE(quiet.Settings.Random);
  EXPECT_EQ(quiet.Settings.Duration, 10);
  EXPECT_EQ(quiet.Settings.TransitionTime, 2000);
}

}  // namespace
