// The work folder against what only a POSIX system has: permission bits,
// symbolic links, another process holding a lock, running as another user.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "package/uWorkFolder.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::Exists;
using kxtest::TScratchDir;

namespace {

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

// When no folder of its own can be made (the temporary folder is someone
// else's, with links planted under every name the run might take), the run
// stops with a message and writes nothing anywhere.
TEST(TWorkFolder, AnUnwritableTemporaryFolderIsAnErrorNotAFallback) {
  TScratchDir tmp, target;
  kxtest::WriteFile(target / "victim", "keep me");
  for (const char* name : {"Lake1", "Lake1_XXXXXX"})
    ASSERT_EQ(::symlink(target.Path().c_str(), (tmp / name).c_str()), 0);
  ASSERT_EQ(::chmod(tmp.Path().c_str(), 0555), 0);
  // As root the folder's mode does not stop us: the attempt runs as another user.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    try {
      TWorkFolder folder(tmp.Path(), "Lake", 1);
      folder.Get();
    } catch (const TWorkFolderError& e) {
      const std::string text = e.what();
      ::_exit(text.rfind("Cannot create the work folder " + (tmp / "Lake1_XXXXXX") + ": ", 0) == 0 ? 0 : 3);
    }
    ::_exit(4);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ::chmod(tmp.Path().c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(kxtest::ReadFile(target / "victim"), "keep me");
  EXPECT_EQ(kxtest::ListDir(target.Path()), std::vector<std::string>{"victim"});
}

// Folders left by runs that were killed are removed at the next start; a
// live run's folder, a folder without a lock file, a link and another
// program's folders are not touched.
TEST(RemoveStaleWorkFolders, RemovesOnlyDeadRunsOfTheSameProgram) {
  TScratchDir tmp, elsewhere;
  const auto folderWithLock = [&](const std::string& name) {
    ASSERT_EQ(::mkdir((tmp / name).c_str(), 0700), 0);
    kxtest::WriteFile(tmp / (name + "/.kxlock"), "");
    kxtest::WriteFile(tmp / (name + "/KXC.res"), "x");
  };
  folderWithLock("Lake12");
  folderWithLock("Lake-7_Ab3dEf");
  folderWithLock("Lake99");  // locked below: its run is alive
  folderWithLock("Other12");
  ASSERT_EQ(::mkdir((tmp / "Lake13").c_str(), 0700), 0);  // no lock file
  kxtest::WriteFile(tmp / "Lake13/KXC.res", "x");
  kxtest::WriteFile(elsewhere / ".kxlock", "");
  ASSERT_EQ(::symlink(elsewhere.Path().c_str(), (tmp / "Lake14").c_str()), 0);
  TWorkFolder live(tmp.Path(), "Lake", 15);
  live.Get();
  const int held = ::open((tmp / "Lake99/.kxlock").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);

  EXPECT_EQ(RemoveStaleWorkFolders(tmp.Path(), "Lake"), 2);
  ::close(held);
  EXPECT_EQ(kxtest::ListDir(tmp.Path()),
            (std::vector<std::string>{"Lake13", "Lake14", "Lake15", "Lake99", "Other12"}));
  EXPECT_TRUE(Exists(elsewhere / ".kxlock"));
  EXPECT_TRUE(Exists(tmp / "Lake15/.kxlock"));
}

// A run whose clean-up was cut short can leave its folder without the lock
// file. Such a folder goes once it has not changed for more than a minute (the
// moment a starting run's folder has no lock file yet is far shorter); a
// fresh one, a locked one, a link and other names stay.
TEST(RemoveStaleWorkFolders, RemovesAnOldFolderThatLostItsLockFile) {
  TScratchDir tmp, elsewhere;
  constexpr int64_t kChanged = 1'000'000'000;
  const auto folder = [&](const std::string& name, bool lockFile) {
    ASSERT_EQ(::mkdir((tmp / name).c_str(), 0700), 0);
    if (lockFile) kxtest::WriteFile(tmp / (name + "/.kxlock"), "");
    kxtest::WriteFile(tmp / (name + "/filler.bin"), "x");
  };
  folder("Lake20", false);
  folder("Lake-3_Ab3dEf", false);
  folder("Lake21", true);  // locked below: its run is alive
  folder("Other20", false);
  folder("Lakeside", false);
  kxtest::WriteFile(elsewhere / "keep.bin", "x");
  ASSERT_EQ(::symlink(elsewhere.Path().c_str(), (tmp / "Lake22").c_str()), 0);
  for (const char* name : {"Lake20", "Lake-3_Ab3dEf", "Lake21", "Other20", "Lakeside", "Lake22"}) {
    const timespec times[2] = {{kChanged, 0}, {kChanged, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (tmp / name).c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << name;
  }
  const int held = ::open((tmp / "Lake21/.kxlock").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  const std::vector<std::string> all{"Lake-3_Ab3dEf", "Lake20", "Lake21", "Lake22", "Lakeside", "Other20"};

  EXPECT_EQ(RemoveStaleWorkFolders(tmp.Path(), "Lake", kChanged + 60), 0);
  EXPECT_EQ(kxtest::ListDir(tmp.Path()), all);
  EXPECT_EQ(RemoveStaleWorkFolders(tmp.Path(), "Lake", kChanged + 61), 2);
  ::close(held);
  EXPECT_EQ(kxtest::ListDir(tmp.Path()), (std::vector<std::string>{"Lake21", "Lake22", "Lakeside", "Other20"}));
  EXPECT_TRUE(kxtest::Exists(elsewhere / "keep.bin"));
  EXPECT_TRUE(kxtest::Exists(tmp / "Lake21/filler.bin"));
}

}  // namespace
