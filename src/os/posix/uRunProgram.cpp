#include "os/uRunProgram.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <thread>

#include "os/uStopSignals.h"

extern char** environ;

namespace kx {
namespace {

using TClock = std::chrono::steady_clock;

int MillisecondsLeft(TClock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
  return left > 0 ? int(left) : 0;
}

// Reads stdout until the program closes it or the deadline passes; what
// goes past the cap is read and dropped, so the program never blocks on a
// full pipe.
void ReadOutput(int fd, TClock::time_point deadline, std::string& out) {
  char buf[4096];
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, MillisecondsLeft(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return;
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    if (out.size() < kMaxProgramOutput) out.append(buf, std::min(size_t(n), kMaxProgramOutput - out.size()));
  }
}

// Waits for the child until the deadline, then kills it; always reaps it.
void Reap(pid_t pid, TClock::time_point deadline, TProgramResult& result) {
  int status = 0;
  for (;;) {
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (done < 0 && errno != EINTR) return;
    if (TClock::now() >= deadline) {
      result.TimedOut = true;
      ::kill(pid, SIGKILL);
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
      return;
    }
    const timespec pause{0, 2'000'000};
    ::nanosleep(&pause, nullptr);
  }
  if (WIFEXITED(status)) result.ExitCode = WEXITSTATUS(status);
}

// posix_spawn's attributes and file actions, released however the run ends.
// A program starts as if from a shell: no signal blocked (the player blocks
// its stop signals in every thread), every disposition default, standard
// input and error on /dev/null, and its output into outputFd or /dev/null.
struct TSpawnSetup {
  posix_spawnattr_t Attr;
  posix_spawn_file_actions_t Actions;
  explicit TSpawnSetup(int outputFd = -1) {
    posix_spawnattr_init(&Attr);
    posix_spawn_file_actions_init(&Actions);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&Attr, &none);
    posix_spawnattr_setsigdefault(&Attr, &all);
    posix_spawnattr_setflags(&Attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawn_file_actions_addopen(&Actions, 0, "/dev/null", O_RDONLY, 0);
    if (outputFd >= 0) posix_spawn_file_actions_adddup2(&Actions, outputFd, 1);
    else posix_spawn_file_actions_addopen(&Actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&Actions, 2, "/dev/null", O_WRONLY, 0);
  }
  ~TSpawnSetup() {
    posix_spawn_file_actions_destroy(&Actions);
    posix_spawnattr_destroy(&Attr);
  }
  TSpawnSetup(const TSpawnSetup&) = delete;
  TSpawnSetup& operator=(const TSpawnSetup&) = delete;
};

// Starts argv[0] (looked up on PATH); the error number, 0 on success. Nothing
// starts once the program is stopping: the clean-up would miss it.
int Spawn(const TSpawnSetup& setup, const std::vector<std::string>& argv, pid_t& pid) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const TChildStart starting;
  return posix_spawnp(&pid, args[0], &setup.Actions, &setup.Attr, args.data(), environ);
}

}  // namespace

TProgramResult RunProgram(const std::vector<std::string>& argv, bool captureOutput, int timeoutMs) {
  TProgramResult result;
  if (argv.empty() || argv[0].empty()) return result;
  const TClock::time_point deadline = TClock::now() + std::chrono::milliseconds(timeoutMs);

  int pipeFds[2] = {-1, -1};
  if (captureOutput && ::pipe2(pipeFds, O_CLOEXEC) != 0) return result;

  const TSpawnSetup setup(captureOutput ? pipeFds[1] : -1);
  pid_t pid = -1;
  const int error = Spawn(setup, argv, pid);
  if (captureOutput) ::close(pipeFds[1]);
  if (error != 0) {
    if (captureOutput) ::close(pipeFds[0]);
    return result;
  }
  if (captureOutput) {
    ReadOutput(pipeFds[0], deadline, result.Output);
    ::close(pipeFds[0]);
  }
  result.Started = true;
  Reap(pid, deadline, result);
  return result;
}

bool OpenDocument(const std::string& target) {
  if (target.empty()) return false;
  const TSpawnSetup setup;
  pid_t pid = -1;
  if (Spawn(setup, {"xdg-open", target}, pid) != 0) return false;
  // The opener may keep running as long as the browser it started; it is
  // reaped whenever it ends, without holding up the caller.
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

}  // namespace kx
