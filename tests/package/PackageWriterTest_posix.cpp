#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <stdexcept>
#include <string>

#include "package/uPackageWriter.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::Exists;
using kxtest::ReadFile;
using kxtest::ListDir;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

// The entry of the files stores their total in 31 bits: a package of more
// is refused before anything is written (sparse files take no room).
TEST(PackageWriterPosix, FilesOfMoreThanAPackageHoldsAreRefusedFirst) {
  TScratchDir dir;
  WriteFile(dir / "player", "MZ");
  WriteFile(dir / "a.jpg", "");
  WriteFile(dir / "b.jpg", "");
  ASSERT_EQ(::truncate((dir / "a.jpg").c_str(), off_t(1) << 30), 0);
  ASSERT_EQ(::truncate((dir / "b.jpg").c_str(), off_t(1) << 30), 0);
  TPackageContents contents;
  contents.Files = {{"a.jpg", dir / "a.jpg", std::nullopt}, {"b.jpg", dir / "b.jpg", std::nullopt}};
  try {
    WritePackage(dir / "player", contents, dir / "out.scr");
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "the files come to 2048 MB, more than a screensaver holds (2047 MB)");
  }
  EXPECT_EQ(ListDir(dir.Path()), (std::vector<std::string>{"a.jpg", "b.jpg", "player"}));
}

// A write that fails half-way (here: the process may write no file beyond
// 64 KB) leaves the old output and no part of the new one. Run in a child,
// whose limit ends with it.
TEST(PackageWriterPosix, AWriteFailingHalfWayLeavesTheOldOutput) {
  TScratchDir dir;
  WriteFile(dir / "player", std::string(50000, 'p'));
  WriteFile(dir / "big.jpg", std::string(100000, 'b'));
  WriteFile(dir / "out.scr", "the old screensaver");
  TPackageContents contents;
  contents.Files = {{"big.jpg", dir / "big.jpg", std::nullopt}};
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{65536, 65536};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    try {
      WritePackage(dir / "player", contents, dir / "out.scr");
    } catch (const std::runtime_error& e) {
      ::_exit(std::string(e.what()) == "cannot write " + dir / "out.scr" ? 0 : 2);
    }
    ::_exit(1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadFile(dir / "out.scr"), "the old screensaver");
  EXPECT_EQ(ListDir(dir.Path()), (std::vector<std::string>{"big.jpg", "out.scr", "player"}));
}

}  // namespace
