#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <string>

#include "os/uUserFiles.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::ReadFile;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

// Sets an environment variable for the test's lifetime ("" unsets it).
class TEnv {
 public:
  TEnv(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = ::getenv(name)) m_old = old, m_had = true;
    value.empty() ? ::unsetenv(name) : ::setenv(name, value.c_str(), 1);
  }
  ~TEnv() { m_had ? ::setenv(m_name, m_old.c_str(), 1) : ::unsetenv(m_name); }

 private:
  const char* m_name;
  std::string m_old;
  bool m_had = false;
};

}  // namespace

TEST(UserFiles, BesideAWritableProgram) {
  TScratchDir dir;
  ::mkdir((dir / "My.Savers").c_str(), 0700);
  WriteFile(dir / "My.Savers/Lake.scr", "x");
  EXPECT_EQ(ProgramFileName(dir / "My.Savers/../My.Savers/Lake.scr"), "Lake.scr");
  EXPECT_EQ(UserFilePath(dir / "My.Savers/Lake.scr", "Lake.ini", TUserFolder::Config), dir / "My.Savers/Lake.ini");
  EXPECT_EQ(WallpaperFilePath(dir / "My.Savers/Lake.scr"), dir / "My.Savers/Lake.scr.bmp");
}

TEST(UserFiles, ElseInTheUsersFolders) {
  TScratchDir dir;
  const struct {
    std::string Config, Data, Home;
    std::string WantConfig, WantData;
  } cases[] = {
      {dir / "cfg", dir / "data/", "/home/x", dir / "cfg/kxcsaver/", dir / "data/kxcsaver/"},
      {"", "", "/home/x", "/home/x/.config/kxcsaver/", "/home/x/.local/share/kxcsaver/"},
      {"relative", "also/relative", "/home/x", "/home/x/.config/kxcsaver/", "/home/x/.local/share/kxcsaver/"},
  };
  for (const auto& c : cases) {
    TEnv config("XDG_CONFIG_HOME", c.Config), data("XDG_DATA_HOME", c.Data), home("HOME", c.Home);
    // A program whose path does not expand (gone, or on a path the system
    // cannot resolve) never writes beside itself, nor ".bmp" in the current folder.
    EXPECT_EQ(UserFilePath("/no/such/Lake.scr", "Lake.ini", TUserFolder::Config), c.WantConfig + "Lake.ini");
    EXPECT_EQ(ProgramFileName("/no/such/Lake.scr"), "Lake.scr");
    EXPECT_EQ(WallpaperFilePath("/no/such/Lake.scr"), c.WantData + "Lake.scr.bmp");
    EXPECT_EQ(WallpaperFilePath(""), c.WantData + "kxcsaver.bmp");
  }
}

TEST(UserFiles, WritesReplaceTheWholeFileOrNothing) {
  TScratchDir dir;
  // Missing folders are made; an existing file is replaced and keeps its mode.
  const std::string path = dir / "a/b/Lake.ini";
  WriteFileAtomically(path, "first");
  EXPECT_EQ(ReadFile(path), "first");
  ::chmod(path.c_str(), 0600);
  WriteFileAtomically(path, "second");
  EXPECT_EQ(ReadFile(path), "second");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  // A target that cannot be replaced (a folder) is reported; nothing is left behind.
  ::mkdir((dir / "a/b/Folder.ini").c_str(), 0700);
  EXPECT_THROW(WriteFileAtomically(dir / "a/b/Folder.ini", "x"), std::runtime_error);
  EXPECT_EQ(kxtest::ListDir(dir / "a/b"), (std::vector<std::string>{"Folder.ini", "Lake.ini"}));
}
