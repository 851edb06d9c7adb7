// The settings file's name beside a program, with the paths a POSIX system
// writes (the Windows suite checks its own names).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "os/uUserFiles.h"
#include "package/uUserSettingsFile.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

TEST(UserSettingsFileName, ReplacesTheExtensionOfTheFileName) {
  TScratchDir dir;
  const std::pair<const char*, const char*> cases[] = {
      {"My.Savers/Lake.scr", "My.Savers/Lake.ini"},
      {"My.Savers/Lake.backup.scr", "My.Savers/Lake.backup.ini"},
      {"My.Savers/kxcsaver", "My.Savers/kxcsaver.ini"},  // a dot in a folder name is no extension
      {"My.Savers/Lake.", "My.Savers/Lake..ini"},        // nor is a final dot
  };
  ASSERT_EQ(::mkdir((dir / "My.Savers").c_str(), 0700), 0);
  for (const auto& [program, ini] : cases) {
    WriteFile(dir / program, "x");
    EXPECT_EQ(UserSettingsFileName(dir / program), dir / ini) << program;
  }
  // A path that does not expand names no folder to keep it in: the user's own.
  EXPECT_EQ(UserSettingsFileName("/no/such/Lake.scr"), UserConfigFolder() + "Lake.ini");
}

}  // namespace
