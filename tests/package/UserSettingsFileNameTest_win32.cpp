// The settings file's name beside a program as Windows writes its paths
// (backslashes, a program started by a path with forward slashes), and in
// the user's application data folder when the program's path does not expand.
#include <gtest/gtest.h>

#include <string>

#include "package/uUserSettingsFile.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::Backslashed;
using kxtest::TScratchDir;

namespace {

TEST(UserSettingsFileName, BesideTheProgramWithBackslashes) {
  TScratchDir dir;
  kxtest::MakeDir(dir / "My.Savers");
  kxtest::WriteFile(dir / "My.Savers/Lake.scr", "x");
  kxtest::WriteFile(dir / "My.Savers/kxcsaver", "x");
  const std::string folder = Backslashed(dir / "My.Savers\\");
  for (const std::string& program : {folder + "Lake.scr", dir / "My.Savers/Lake.scr"})
    EXPECT_EQ(UserSettingsFileName(program), folder + "Lake.ini") << program;
  // A dot in a folder's name is no extension.
  EXPECT_EQ(UserSettingsFileName(folder + "kxcsaver"), folder + "kxcsaver.ini");
}

TEST(UserSettingsFileName, ElseInTheUsersApplicationDataFolder) {
  TScratchDir dir;
  kxtest::TEnv config("APPDATA", Backslashed(dir / "Roaming"));
  EXPECT_EQ(UserSettingsFileName("C:\\no\\such\\My.Lake.scr"), Backslashed(dir / "Roaming\\kxcsaver\\My.Lake.ini"));
}

}  // namespace
