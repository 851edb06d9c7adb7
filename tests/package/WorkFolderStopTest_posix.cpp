// A stop signal while the package unpacks: the clean-up empties the work
// folder while the main thread is writing into it, and the folder must still
// be gone when the process has ended. Timing decides how the two threads
// meet, so a few runs are made.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "os/uStopSignals.h"
#include "package/uContainer.h"
#include "package/uWorkFolder.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::TScratchDir;

namespace {

TEST(TWorkFolder, AStopWhileUnpackingLeavesNoFolder) {
  TScratchDir package;
  std::vector<std::string> names, bytes;
  for (int i = 0; i < 400; ++i) {
    names.push_back("f" + std::to_string(i) + ".bin");
    bytes.push_back(std::string(64, char('a' + i % 26)));
  }
  kxtest::WriteFile(package / "Lake.scr", MakeContainer(bytes));
  for (int run = 0; run < 12; ++run) {
    SCOPED_TRACE(run);
    TScratchDir tmp;
    const pid_t player = ::fork();
    ASSERT_GE(player, 0);
    if (player == 0) {
      TWorkFolder folder(tmp.Path(), "Lake", 5);
      const int fd = folder.Descriptor();
      WatchStopSignals([&folder] { folder.RemoveEverything(); });
      // Unpacks again and again, as a large package keeps the main thread
      // writing files; the signal comes after the first round.
      for (int round = 0;; ++round) {
        ExtractContainer(package / "Lake.scr", names, fd);
        if (round == 0) ::kill(::getpid(), SIGTERM);
      }
    }
    int status = 0;
    ASSERT_EQ(::waitpid(player, &status, 0), player);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_EQ(kxtest::ListDir(tmp.Path()), std::vector<std::string>{});
  }
}

// A program can end through exit() from anywhere (the X library does when
// the display goes away). Its work folder goes with it, and a stop signal
// taken while exit() runs the static destructors still finds the folder's
// state whole: the clean-up runs on the watcher thread meanwhile.
void ExitWithAStopSignalLast() {
  ::kill(::getpid(), SIGTERM);
  for (;;) ::pause();
}

TEST(TWorkFolder, ExitRemovesTheFolderEvenWithAStopSignalDuringIt) {
  for (const bool signalLast : {false, true}) {
    SCOPED_TRACE(signalLast);
    TScratchDir tmp;
    const pid_t player = ::fork();
    ASSERT_GE(player, 0);
    if (player == 0) {
      ::setenv("TMPDIR", tmp.Path().c_str(), 1);
      // Registered before the work folder's own state exists, so it runs
      // after that state would have been destroyed.
      if (signalLast) std::atexit(ExitWithAStopSignalLast);
      InitWorkFolder("/opt/savers/Lake.scr", 5);
      WatchStopSignals(RemoveWorkFolderAtOnce);
      (void)GetWorkFolderDescriptor();
      std::exit(3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(player, &status, 0), player);
    if (signalLast)
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    else
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << status;
    EXPECT_EQ(kxtest::ListDir(tmp.Path()), std::vector<std::string>{});
  }
}

}  // namespace
