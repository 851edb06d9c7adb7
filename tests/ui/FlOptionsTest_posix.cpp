// FLTK keeps no file in the user's home folder: reading its options (which a
// message box or a window does) writes nothing under $HOME, and HOME is as
// it was afterwards.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <FL/Fl.H>

#include <cstdlib>
#include <string>

#include "support/TestSupport.h"
#include "ui/uFlOptions.h"

using namespace kx;
using kxtest::TScratchDir;

namespace {

// In a process of its own: FLTK reads its options once per process.
TEST(FltkOptions, NothingIsWrittenInTheHomeFolder) {
  TScratchDir home;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::setenv("HOME", home.Path().c_str(), 1);
    PrepareFltkOptions();
    const bool focus = Fl::option(Fl::OPTION_VISIBLE_FOCUS);
    const char* now = std::getenv("HOME");
    ::_exit(!focus ? 2 : now && home.Path() == now ? 0 : 3);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(kxtest::ListDir(home.Path()), std::vector<std::string>{});
}

}  // namespace
