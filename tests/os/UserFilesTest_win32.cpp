#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "os/uPlatform.h"
#include "os/uUserFiles.h"
#include "os/win32/uWidePath.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::Backslashed;
using kxtest::TScratchDir;

namespace {

// A program in a folder the user may write in keeps its files beside it,
// named from its long path; a dot in a folder's name is no extension.
TEST(UserFiles, BesideAWritableProgramWithBackslashes) {
  TScratchDir dir;
  kxtest::MakeDir(dir / "My.Savers");
  kxtest::WriteFile(dir / "My.Savers/Lake.scr", "x");
  const std::string folder = Backslashed(dir / "My.Savers\\");
  // The same program by its short (8.3) path, as a host may start it.
  std::wstring shortForm(MAX_PATH * 4, L'\0');
  shortForm.resize(::GetShortPathNameW(WidePath(folder + "Lake.scr").c_str(), shortForm.data(), MAX_PATH * 4));
  for (const std::string& program : {folder + "Lake.scr", dir / "My.Savers/Lake.scr", Utf8Path(shortForm)}) {
    SCOPED_TRACE(program);
    EXPECT_EQ(WallpaperFilePath(program), folder + "Lake.scr.bmp");
    EXPECT_EQ(UserFilePath(program, "Lake.ini", TUserFolder::Config), folder + "Lake.ini");
    EXPECT_EQ(ProgramFileName(program), "Lake.scr");
  }
  // The probe that tells whether the folder may be written is never left behind.
  EXPECT_EQ(kxtest::ListDir(dir / "My.Savers"), std::vector<std::string>{"Lake.scr"});
}

TEST(UserFiles, ElseInTheUsersApplicationDataFolders) {
  TScratchDir dir;
  kxtest::TEnv config("APPDATA", Backslashed(dir / "Roaming")), data("LOCALAPPDATA", Backslashed(dir / "Local"));
  EXPECT_EQ(UserFilePath("C:\\no\\such\\My.Lake.scr", "My.Lake.ini", TUserFolder::Config),
            Backslashed(dir / "Roaming\\kxcsaver\\My.Lake.ini"));
  EXPECT_EQ(ProgramFileName("C:\\no\\such\\My.Lake.scr"), "My.Lake.scr");
  EXPECT_EQ(WallpaperFilePath("C:\\no\\such\\Lake.scr"), Backslashed(dir / "Local\\kxcsaver\\Lake.scr.bmp"));
  EXPECT_EQ(WallpaperFilePath(""), Backslashed(dir / "Local\\kxcsaver\\kxcsaver.bmp"));
}

}  // namespace
