#include <gtest/gtest.h>

#include <algorithm>

#include "os/uFolderAccess.h"
#include "os/uPackedFiles.h"
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

namespace {

std::string Int32(int32_t v) {
  const auto u = uint32_t(v);
  return {char(u), char(u >> 8), char(u >> 16), char(u >> 24)};
}

// A container with a stated count and entries of stated sizes, for damage
// that MakeContainer cannot make: each entry is its size field and then the
// bytes given (which may be fewer or more than it states).
std::string RawContainer(int32_t count, const std::vector<std::pair<int32_t, std::string>>& entries) {
  std::string out = MakeContainer({}).substr(0, kContainerMarker.size()) + Int32(count);
  for (const auto& [size, bytes] : entries) out += Int32(size) + bytes;
  return out;
}

// Reading a package in place gives the show exactly the files an extraction
// writes, byte for byte and under the same names, damaged packages included,
// and writes nothing.
TEST(UsePackageInPlace, ReadsWhatAnExtractionWouldWrite) {
  const std::string description = kxtest::MakeDescription("[FileList]\r\na.jpg=1\r\n", "", "");
  const std::string files = MakeContainer({"first a", "bee", "refused", "second a", "empty line", "RIFF"});
  const std::string list = "C:\\pics\\a.jpg\r\nC:\\other\\b.kxp\r\n..\r\nD:\\more\\a.jpg\r\n\r\nsnd/wave.wav\r\n";
  const struct {
    const char* What;
    std::string Package;
  } cases[] = {
      {"whole", MakePackage(description, {{"C:\\pics\\a.jpg", "first a"},
                                          {"C:\\other\\b.kxp", "bee"},
                                          {"..", "refused"},
                                          {"D:\\more\\a.jpg", "second a"},
                                          {"", "empty line"},
                                          {"snd/wave.wav", "RIFF"}},
                            "gui text")},
      {"no package", ""},
      {"description only", RawContainer(1, {{int32_t(description.size()), description}})},
      {"list without files", RawContainer(2, {{int32_t(description.size()), description}, {5, "x.jpg"}})},
      {"more names than files", MakeContainer({description, list, MakeContainer({"one", "two"}), "gui"})},
      {"more files than names", MakeContainer({description, "a.jpg\r\n", files, "gui"})},
      {"negative size of a file",
       MakeContainer({description, "a.jpg\r\nb.jpg\r\nc.jpg\r\n", RawContainer(3, {{1, "A"}, {-1, ""}, {1, "C"}}), ""})},
      {"negative size of an entry", RawContainer(4, {{int32_t(description.size()), description}, {-5, "x.jpg"}})},
      {"files entry cut short",
       RawContainer(4, {{int32_t(description.size()), description}, {12, "a.jpg\r\nb.jpg"}, {1000, files}})},
      {"a file longer than its container", MakeContainer({description, "a.jpg\r\nb.jpg\r\n",
                                                          RawContainer(2, {{100, "short"}}), "gui"})},
      {"the program ends early",
       RawContainer(4, {{int32_t(description.size()), description}, {12, "a.jpg\r\nb.jpg"}}) + Int32(300) +
           MakeContainer({"a", "b"}).substr(0, 30)},
  };
  for (const auto& c : cases) {
    TScratchDir dir;
    const std::string extracted = dir / "extracted/", inPlace = dir / "inplace/";
    kxtest::MakeDir(extracted);
    kxtest::MakeDir(inPlace);
    WriteFile(dir / "Lake.scr", "player bytes" + c.Package);
    ExtractPackage(dir / "Lake.scr", extracted);
    const int fd = OpenFolder(extracted);
    const std::vector<std::string> expectedNames = ExtractedFileNames(fd);
    CloseFolder(fd);

    EXPECT_EQ(UsePackageInPlace(dir / "Lake.scr", inPlace), expectedNames) << c.What;
    const std::vector<std::string> written = kxtest::ListDir(extracted);
    for (const std::string& name : written)
      EXPECT_EQ(ReadFileWindow(inPlace + name, 1 << 20).value_or("<none>"), ReadFile(extracted + name))
          << c.What << ": " << name;
    for (const std::string& name : expectedNames) {
      const bool there = std::find(written.begin(), written.end(), name) != written.end();
      if (!name.empty()) EXPECT_EQ(FileExists(inPlace + name), there) << c.What << ": " << name;
    }
    for (const char* name : {"KXFiles.res", "refused", ".."}) EXPECT_FALSE(FileExists(inPlace + name)) << c.What;
    EXPECT_TRUE(kxtest::ListDir(inPlace).empty()) << c.What;
    ClearPackedFiles();
  }
}

}  // namespace
