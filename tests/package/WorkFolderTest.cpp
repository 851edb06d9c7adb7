#include <gtest/gtest.h>

#include "os/uUserFiles.h"
#include "package/uWorkFolder.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::Exists;
using kxtest::TScratchDir;

namespace {

TEST(WorkNumber, IsTheSignedTickModuloTenThousand) {
  const std::pair<uint32_t, int32_t> cases[] = {
      {0, 0}, {1234567, 4567}, {9999, 9999}, {10000, 0}, {20001, 1},
      {0x7FFFFFFF, 3647}, {0x80000000u, -3648}, {0xFFFFFFFFu, -1}, {0xFFFFD8F0u, 0},  // -10000
  };
  for (const auto& [tick, number] : cases) EXPECT_EQ(WorkNumber(tick), number) << tick;
}

TEST(WorkFolderBase, IsTheNameUpToItsFirstDot) {
  EXPECT_EQ(WorkFolderBase("/opt/savers/Lake.scr"), "Lake");
  EXPECT_EQ(WorkFolderBase("/opt/savers/My.Lake.scr"), "My");
  EXPECT_EQ(WorkFolderBase("/usr/bin/kxcsaver"), "kxcsaver");
  EXPECT_EQ(WorkFolderBase("/a.b/noext"), "noext");
}

TEST(TWorkFolder, NeverReusesATakenName) {
  TScratchDir tmp;
  TWorkFolder first(tmp.Path(), "Lake", 7);
  TWorkFolder second(tmp.Path(), "Lake", 7);
  const std::string a = first.Get();
  const std::string b = second.Get();
  EXPECT_NE(a, b);
  EXPECT_EQ(b.rfind(tmp / "Lake7_", 0), 0u);
  EXPECT_TRUE(Exists(b));
}

TEST(TWorkFolder, IsCreatedAgainAfterRemoval) {
  TScratchDir tmp;
  TWorkFolder folder(tmp.Path(), "Lake", 3);
  const std::string path = folder.Get();
  folder.Remove();
  EXPECT_FALSE(Exists(path));
  EXPECT_EQ(folder.Get(), path);
  EXPECT_TRUE(Exists(path));
}

// Removal goes by name inside the folder this run created: what the package
// did not put there stays, and so does the folder.
TEST(TWorkFolder, RemovesOnlyWhatItsRunWrote) {
  TScratchDir tmp;
  TWorkFolder folder(tmp.Path(), "Lake", 4);
  const std::string path = folder.Get();
  kxtest::WriteFile(path + "KXC.res", "description");
  kxtest::WriteFile(path + "KXFilenames.res", "C:\\a.jpg\r\n");
  kxtest::WriteFile(path + "a.jpg", "jpeg");
  kxtest::WriteFile(path + "other", "not ours");
  folder.Remove();
  EXPECT_FALSE(Exists(path + "a.jpg"));
  EXPECT_FALSE(Exists(path + "KXC.res"));
  EXPECT_FALSE(Exists(path + ".kxlock"));
  EXPECT_TRUE(Exists(path + "other"));
}

TEST(TWorkFolder, AMissingTemporaryFolderIsAnError) {
  TScratchDir tmp;
  TWorkFolder folder(tmp / "missing/", "Lake", 2);
  try {
    folder.Get();
    FAIL() << "no error";
  } catch (const TWorkFolderError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create the work folder " + (tmp / "missing/Lake2") +
                                         ": No such file or directory");
  }
}

// A run that ended without cleaning up leaves its folder with a free lock
// file; the folders of live runs stay.
TEST(RemoveStaleWorkFolders, TakesTheFoldersOfEndedRunsOnly) {
  TScratchDir tmp;
  {
    TWorkFolder ended(tmp.Path(), "Lake", 12);
    kxtest::WriteFile(ended.Get() + "KXC.res", "x");
  }  // gone without Remove, as when killed
  TWorkFolder live(tmp.Path(), "Lake", 15);
  live.Get();
  EXPECT_EQ(kxtest::ListDir(tmp.Path()), (std::vector<std::string>{"Lake12", "Lake15"}));
  EXPECT_EQ(RemoveStaleWorkFolders(tmp.Path(), "Lake"), 1);
  EXPECT_EQ(kxtest::ListDir(tmp.Path()), std::vector<std::string>{"Lake15"});
  EXPECT_TRUE(Exists(tmp / "Lake15/.kxlock"));
}

// The temporary folder of a user named in any script.
TEST(TWorkFolder, LivesInATemporaryFolderNamedInAnyScript) {
  TScratchDir dir;
  for (const std::string name : {"J\xC3\xB6rg", "\xE7\x94\xA8\xE6\x88\xB7"}) {  // Jörg, 用户
    const std::string tmp = dir / (name + "/");
    kxtest::MakeDir(tmp);
    TWorkFolder folder(tmp, "Lake", 6);
    const std::string path = folder.Get();
    EXPECT_EQ(path, tmp + "Lake6" + PathSeparators()[0]);  // the system's own separator
    kxtest::WriteFile(path + "KXC.res", "description");
    EXPECT_TRUE(Exists(path + ".kxlock"));
    folder.Remove();
    EXPECT_FALSE(Exists(path)) << name;
  }
}

}  // namespace
