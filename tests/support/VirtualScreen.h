// A private X server for tests of real windows: Xvfb on a free display
// number (it picks one itself and tells us), DISPLAY pointed at it for this
// process, stopped when the object goes. Available() is false when Xvfb is
// not installed; such tests skip.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace kxtest {

class TVirtualScreen {
 public:
  explicit TVirtualScreen(int width = 1024, int height = 768) {
    int fds[2];
    if (pipe(fds) != 0) return;
    m_pid = fork();
    if (m_pid == 0) {
      close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
      freopen("/dev/null", "w", stderr);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
             "-noreset", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (m_pid > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) return;
    setenv("DISPLAY", (":" + number).c_str(), 1);
    m_ok = true;
  }
  ~TVirtualScreen() {
    if (m_pid > 0) {
      kill(m_pid, SIGTERM);
      waitpid(m_pid, nullptr, 0);
    }
  }
  TVirtualScreen(const TVirtualScreen&) = delete;
  TVirtualScreen& operator=(const TVirtualScreen&) = delete;

  bool Available() const { return m_ok; }

 private:
  pid_t m_pid = -1;
  bool m_ok = false;
};

// Tests that share one 800 x 600 virtual screen for the whole process (FLTK
// keeps its display connection until the process ends); each test skips when
// there is no Xvfb. A test's own SetUp calls this one first.
class TScreenTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!Screen()) Screen() = std::make_unique<TVirtualScreen>(800, 600);
  }
  void SetUp() override {
    if (!Screen() || !Screen()->Available()) GTEST_SKIP() << "no Xvfb";
  }

 private:
  static std::unique_ptr<TVirtualScreen>& Screen() {
    static std::unique_ptr<TVirtualScreen> screen;
    return screen;
  }
};

}  // namespace kxtest
