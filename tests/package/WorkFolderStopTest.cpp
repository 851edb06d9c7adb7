#include <gtest/gtest.h>

#include "os/uFolderAccess.h"
#include "package/uPackage.h"
#include "package/uWorkFolder.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::Exists;
using kxtest::TScratchDir;

namespace {

// The clean-up of a run stopped from outside: every file goes, the lock file
// the run holds included (Windows keeps a deleted file's name while it is
// held open, so the lock must be let go for the folder to go), and the
// folder goes with them. The run's own later removal then has nothing to do.
TEST(TWorkFolder, RemoveEverythingTakesTheHeldLockAndTheFolder) {
  TScratchDir tmp;
  {
    TWorkFolder folder(tmp.Path(), "Lake", 5);
    const std::string path = folder.Get();
    ASSERT_TRUE(Exists(path + std::string(kWorkFolderLockName)));
    kxtest::WriteFile(path + "a.jpg", "jpeg");
    kxtest::WriteFile(path + "unlisted.tmp", "not in the package's list");
    folder.RemoveEverything();
    EXPECT_FALSE(Exists(path));
    folder.Remove();
  }
  EXPECT_TRUE(kxtest::ListDir(tmp.Path()).empty());
}

}  // namespace
