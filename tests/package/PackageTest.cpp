#include <gtest/gtest.h>

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
