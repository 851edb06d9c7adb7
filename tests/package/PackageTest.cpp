#include <gtest/gtest.h>

#include "os/uWindowsFileNames.h"
#include "package/uPackage.h"
#include "support/PackageBuilder.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::Exists;
using kxtest::MakePackage;
using kxtest::ReadFile;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

TEST(PackagedFileName, KeepsOnlyAPlainNameInsideTheFolder) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Author\\Lake.jpg", "Lake.jpg"},
      {"Lake.jpg", "Lake.jpg"},
      {"D:Lake.kxp", "Lake.kxp"},
      {"/home/author/pic.bmp", "pic.bmp"},
      {"..\\..\\etc/passwd", "passwd"},
      {"a\\b:c/d.gif", "d.gif"},
      {"", ""},
      {"C:\\Author\\", ""},
      {"..", ""},
      {"C:\\..", ""},
      {".", ""},
      {"x/KXFiles.res", ""},
      {"KXC.res", ""},
      {"KXGUI.kxu", ""},
      {"KXFilenames.res", ""},
      {"kxc.res", "kxc.res"},  // file names are compared as stored
  };
  for (const auto& [line, name] : cases) EXPECT_EQ(PackagedFileName(line), name) << line;
}

// The extraction names of a package's file list under the Windows rule
// (names compared without regard to case), checked on every system: a
// different spelling of a name already held, the package's own entries
// included, is passed over; the same spelling again is the same file.
TEST(PackagedFileNames, UnderTheWindowsRuleTheFirstSpellingKeepsItsName) {
  const std::string list =
      "C:\\pics\\Lake.jpg\r\nkxc.res\r\nLAKE.JPG\r\nkxgui.KXU\r\nb.kxp\r\nD:\\Lake.jpg\r\n.KXLOCK\r\nB.kxp\r\n"
      "J\xC3\xB6rg.jpg\r\nJ\xC3\x96RG.jpg\r\n";
  EXPECT_EQ(PackagedFileNames(list, WindowsFileNameKey),
            (std::vector<std::string>{"Lake.jpg", "", "", "", "b.kxp", "Lake.jpg", "", "", "J\xC3\xB6rg.jpg", ""}));
  // Where names keep their case, every spelling is its own file.
  EXPECT_EQ(PackagedFileNames(list, [](std::string_view n) { return std::string(n); }),
            (std::vector<std::string>{"Lake.jpg", "kxc.res", "LAKE.JPG", "kxgui.KXU", "b.kxp", "Lake.jpg", ".KXLOCK",
                                      "B.kxp", "J\xC3\xB6rg.jpg", "J\xC3\x96RG.jpg"}));

  // The pictures find the file that was kept, by the same rule.
  const std::vector<std::string> packaged = {"", "Lake.jpg", "b.kxp"};
  const std::pair<const char*, const char*> lookups[] = {
      {"LAKE.JPG", "Lake.jpg"}, {"lake.jpg", "Lake.jpg"}, {"B.KXP", "b.kxp"}, {"other.jpg", "other.jpg"}, {"", ""}};
  const TPackagedNameIndex index(packaged, WindowsFileNameKey);
  for (const auto& [name, found] : lookups) {
    EXPECT_EQ(FindPackagedName(name, packaged, WindowsFileNameKey), found) << name;
    EXPECT_EQ(index.Find(name), found) << name;
  }
  // Two spellings of one key among the packaged names: the first is found, as by FindPackagedName.
  EXPECT_EQ(TPackagedNameIndex({"A.jpg", "a.JPG"}, WindowsFileNameKey).Find("a.jpg"), "A.jpg");
  EXPECT_EQ(FindPackagedName("LAKE.JPG", packaged, [](std::string_view n) { return std::string(n); }), "LAKE.JPG");
}

TEST(ExtractPackage, UnpacksEntriesAndFilesThenRemovesThem) {
  TScratchDir dir;
  const std::string work = dir / "work/";
  kxtest::MakeDir(work);
  WriteFile(dir / "Lake.scr",
            "player bytes" + MakePackage("description",
                                         {{"C:\\pics\\a.jpg", "first a"},
                                          {"C:\\other\\b.kxp", "bee"},
                                          {"..", "refused"},
                                          {"D:\\more\\a.jpg", "second a"},
                                          {"", "empty line"},
                                          {"snd/wave.wav", "RIFF"}},
                                         "gui text"));
  ExtractPackage(dir / "Lake.scr", work);
  EXPECT_EQ(ReadFile(work + "KXC.res"), "description");
  EXPECT_EQ(ReadFile(work + "KXGUI.kxu"), "gui text");
  EXPECT_EQ(ReadFile(work + "a.jpg"), "second a");  // the later of two equal names wins
  EXPECT_EQ(ReadFile(work + "b.kxp"), "bee");
  EXPECT_EQ(ReadFile(work + "wave.wav"), "RIFF");  // entries after refused names stay intact
  EXPECT_FALSE(Exists(dir / "refused"));
  EXPECT_FALSE(Exists(work + "KXFiles.res"));  // the packaged files are read in place

  RemoveExtractedFiles(work);
  EXPECT_FALSE(Exists(work));
}

TEST(ExtractPackage, NoPackageWritesNothing) {
  TScratchDir dir;
  const std::string work = dir / "work/";
  kxtest::MakeDir(work);
  WriteFile(dir / "plain", "just a program");
  ExtractPackage(dir / "plain", work);
  EXPECT_FALSE(Exists(work + "KXC.res"));
  RemoveExtractedFiles(work);
  EXPECT_FALSE(Exists(work));
}

TEST(RemoveExtractedFiles, KeepsTheFolderWhenSomethingElseIsInIt) {
  TScratchDir dir;
  const std::string work = dir / "work/";
  kxtest::MakeDir(work);
  WriteFile(dir / "p", MakePackage("d", {{"x.jpg", "x"}}));
  ExtractPackage(dir / "p", work);
  WriteFile(work + "stranger.txt", "not ours");
  RemoveExtractedFiles(work);
  EXPECT_FALSE(Exists(work + "x.jpg"));
  EXPECT_FALSE(Exists(work + "KXC.res"));
  EXPECT_EQ(ReadFile(work + "stranger.txt"), "not ours");
}

}  // namespace
