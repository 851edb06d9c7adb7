#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "package/uPackage.h"
#include "support/PackageBuilder.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::MakePackage;
using kxtest::ReadFile;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

// Device names would open the console or a port instead of a file, and a
// name Windows shortens would replace another packaged file: such entries are
// passed over, the ones after them stay intact, and nothing is written
// anywhere but in the work folder.
TEST(ExtractPackage, NamesWindowsWouldNotKeepArePassedOver) {
  TScratchDir dir;
  const std::string work = dir / "work/";
  kxtest::MakeDir(work);
  WriteFile(dir / "Lake.scr", "player bytes" + MakePackage("description",
                                                           {{"C:\\pics\\a.jpg", "good a"},
                                                            {"C:\\pics\\CON", "to the console"},
                                                            {"C:\\pics\\nul.txt", "to nowhere"},
                                                            {"C:\\pics\\Com1.kxp", "to a port"},
                                                            {"C:\\pics\\LPT\xC2\xB9.jpg", "to a printer"},
                                                            {"C:\\pics\\a.jpg.", "over a.jpg"},
                                                            {"C:\\pics\\a.jpg ", "over a.jpg too"},
                                                            {"C:\\pics\\conin$", "console input"},
                                                            {"C:\\pics\\b?.jpg", "wildcard"},
                                                            {"C:\\pics\\b.jpg", "good b"}},
                                                           "gui"));
  for (const char* line : {"CON", "nul.txt", "a.jpg.", "a.jpg ", "Com1.kxp"}) EXPECT_EQ(PackagedFileName(line), "");
  ExtractPackage(dir / "Lake.scr", work);
  EXPECT_EQ(ReadFile(work + "a.jpg"), "good a");
  EXPECT_EQ(ReadFile(work + "b.jpg"), "good b");
  EXPECT_EQ(kxtest::ListDir(work),
            (std::vector<std::string>{"KXC.res", "KXFilenames.res", "KXGUI.kxu", "a.jpg", "b.jpg"}));
  EXPECT_EQ(kxtest::ListDir(dir.Path()), (std::vector<std::string>{"Lake.scr", "work"}));

  RemoveExtractedFiles(work);
  EXPECT_FALSE(kxtest::Exists(work));
}

// Windows takes "kxc.res" for the package's own "KXC.res" and "LAKE.JPG" for
// "Lake.jpg": the first spelling is written, the others are passed over and
// overwrite nothing; removing the files leaves nothing behind.
TEST(ExtractPackage, NamesDifferingOnlyInCaseKeepTheFirst) {
  TScratchDir dir;
  const std::string work = dir / "work/";
  kxtest::MakeDir(work);
  WriteFile(dir / "Lake.scr", "player bytes" + MakePackage("description",
                                                           {{"C:\\pics\\Lake.jpg", "first lake"},
                                                            {"C:\\pics\\kxc.res", "over the description"},
                                                            {"C:\\pics\\LAKE.JPG", "second lake"},
                                                            {"C:\\pics\\kxgui.KXU", "over the windows"},
                                                            {"C:\\pics\\b.jpg", "good b"}},
                                                           "gui"));
  ExtractPackage(dir / "Lake.scr", work);
  EXPECT_EQ(ReadFile(work + "KXC.res"), "description");
  EXPECT_EQ(ReadFile(work + "KXGUI.kxu"), "gui");
  EXPECT_EQ(ReadFile(work + "Lake.jpg"), "first lake");
  EXPECT_EQ(ReadFile(work + "b.jpg"), "good b");
  EXPECT_EQ(kxtest::ListDir(work),
            (std::vector<std::string>{"KXC.res", "KXFilenames.res", "KXGUI.kxu", "Lake.jpg", "b.jpg"}));

  RemoveExtractedFiles(work);
  EXPECT_FALSE(kxtest::Exists(work));
}

}  // namespace
