// A stop signal against what the main thread may be starting meanwhile: a
// child forked or a program run after the watcher looked for children would
// outlive the player, so neither starts once the signal is taken; children
// started before it get an empty signal mask, as from a shell.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <string>

#include "os/uRunProgram.h"
#include "os/uStopSignals.h"
#include "support/StopSignalRun.h"

using namespace kx;

namespace {

// A forked child reports its pid and whether SIGTERM is blocked in it, then
// lets go of the report and waits (for ever unless a signal ends it).
void ForkReportingChild(int report) {
  const pid_t child = ::fork();
  if (child != 0) return;
  sigset_t mask;
  pthread_sigmask(SIG_BLOCK, nullptr, &mask);
  const std::string line =
      std::to_string(::getpid()) + (sigismember(&mask, SIGTERM) ? " blocked" : " open") + "\n";
  (void)!::write(report, line.data(), line.size());
  ::close(report);
  for (;;) ::pause();
}

// Ends a child a failing run left behind.
void EndLeftChild(const std::string& report) {
  const pid_t pid = pid_t(std::atoi(report.c_str()));
  if (pid > 0) ::kill(pid, SIGKILL);
}

TEST(WatchStopSignals, AForkAfterTheSignalStartsNoChild) {
  const kxtest::TStoppedRun run = kxtest::RunAfterStopSignal(ForkReportingChild);
  EndLeftChild(run.Report);
  EXPECT_EQ(run.Signal, SIGTERM);
  EXPECT_EQ(run.Report, "");
}

TEST(WatchStopSignals, AProgramIsNotRunAfterTheSignal) {
  const kxtest::TStoppedRun run = kxtest::RunAfterStopSignal([](int report) {
    const TProgramResult result = RunProgram({"sh", "-c", "echo ran"}, true);
    (void)!::write(report, result.Output.data(), result.Output.size());
  });
  EXPECT_EQ(run.Signal, SIGTERM);
  EXPECT_EQ(run.Report, "");
}

// The watcher blocks the stop signals in every thread; a child must not keep
// them blocked, or only SIGKILL could end it once it lost its parent.
TEST(WatchStopSignals, AForkedChildStartsWithNoSignalBlocked) {
  int report[2];
  ASSERT_EQ(::pipe(report), 0);
  const pid_t player = ::fork();
  ASSERT_GE(player, 0);
  if (player == 0) {
    ::close(report[0]);
    WatchStopSignals({});
    ForkReportingChild(report[1]);
    ::_exit(StopSignalTaken() ? 1 : 0);
  }
  ::close(report[1]);
  std::string text;
  char buf[64];
  for (ssize_t n; (n = ::read(report[0], buf, sizeof buf)) > 0;) text.append(buf, size_t(n));
  ::close(report[0]);
  int status = 0;
  ::waitpid(player, &status, 0);
  EndLeftChild(text);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_NE(text.find(" open\n"), std::string::npos) << text;
}

}  // namespace
