// Runs a piece of code in a process of its own right after that process took
// a stop signal, while the signal's watcher is still in its clean-up: what the
// main thread does then must not outlive the process or escape its clean-up.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "os/uStopSignals.h"

namespace kxtest {

struct TStoppedRun {
  int Signal = 0;      // the signal that ended the process; 0 when it ended otherwise
  std::string Report;  // what the code wrote to its report descriptor
};

// In a forked process: watches the stop signals with a clean-up that runs
// cleanUp after it has waited for afterStop to return (at most a moment: a
// main thread that halts never returns), sends itself SIGTERM, and once the
// watcher has taken it runs afterStop(report) on the main thread. The report
// is what reached the report descriptor, read once the process has ended;
// code that starts a child closes it there after writing.
inline TStoppedRun RunAfterStopSignal(const std::function<void(int report)>& afterStop,
                                      const std::function<void()>& cleanUp = {}) {
  int report[2], taken[2], done[2];
  if (::pipe(report) != 0 || ::pipe(taken) != 0 || ::pipe(done) != 0) return {};
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(report[0]);
    kx::WatchStopSignals([&] {
      (void)!::write(taken[1], "t", 1);
      pollfd p{done[0], POLLIN, 0};
      ::poll(&p, 1, 300);
      if (cleanUp) cleanUp();
    });
    ::kill(::getpid(), SIGTERM);
    char c;
    if (::read(taken[0], &c, 1) != 1) ::_exit(3);
    afterStop(report[1]);
    (void)!::write(done[1], "d", 1);
    for (;;) ::pause();
  }
  ::close(report[1]);
  TStoppedRun run;
  int status = 0;
  ::waitpid(child, &status, 0);
  if (WIFSIGNALED(status)) run.Signal = WTERMSIG(status);
  char buf[256];
  for (ssize_t n; (n = ::read(report[0], buf, sizeof buf)) > 0;) run.Report.append(buf, size_t(n));
  for (int fd : {report[0], taken[0], taken[1], done[0], done[1]}) ::close(fd);
  return run;
}

}  // namespace kxtest
