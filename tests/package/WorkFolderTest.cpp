#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST(TWorkFolder, CreatesAPrivateFolderOfTheDocumentedName) {
  TScratchDir tmp;
  TWorkFolder folder(tmp.Path(), "Lake", -42);
  EXPECT_EQ(folder.PreferredPath(), tmp / "Lake-42/");
  EXPECT_EQ(folder.Get(), tmp / "Lake-42/");
  struct stat st {};
  ASSERT_EQ(::lstat((tmp / "Lake-42").c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(folder.Get(), tmp / "Lake-42/");  // the same folder for the whole run
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

TEST(TWorkFolder, APlantedLinkIsNotFollowed) {
  TScratchDir tmp;
  TScratchDir elsewhere;
  ASSERT_EQ(::symlink(elsewhere.Path().c_str(), (tmp / "Lake1").c_str()), 0);
  TWorkFolder folder(tmp.Path(), "Lake", 1);
  const std::string path = folder.Get();
  EXPECT_NE(path, tmp / "Lake1/");
  struct stat st {};
  ASSERT_EQ(::lstat(path.substr(0, path.size() - 1).c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST(TWorkFolder, IsCreatedAgainAfterRemoval) {
  TScratchDir tmp;
  TWorkFolder folder(tmp.Path(), "Lake", 3);
  const std::string path = folder.Get();
  ASSERT_EQ(::rmdir(path.c_str()), 0);
  EXPECT_EQ(folder.Get(), path);
  EXPECT_TRUE(Exists(path));
}

}  // namespace
