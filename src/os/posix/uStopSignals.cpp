#include "os/uStopSignals.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace kx {
namespace {

std::atomic<bool> g_stopping{false};
// Held while a child starts and while the watcher marks the program as
// stopping: a child either exists before the watcher looks for children or
// is never started.
pthread_mutex_t g_starts = PTHREAD_MUTEX_INITIALIZER;

void BeginChildStart() {
  pthread_mutex_lock(&g_starts);
  if (!g_stopping) return;
  pthread_mutex_unlock(&g_starts);
  HaltOnStopSignal();
}

void EndChildStart() { pthread_mutex_unlock(&g_starts); }

// In a forked child: the only thread, which took the lock before the fork.
// The child starts as a program started from a shell would, nothing blocked.
void StartForkedChild() {
  pthread_mutex_unlock(&g_starts);
  sigset_t none;
  sigemptyset(&none);
  pthread_sigmask(SIG_SETMASK, &none, nullptr);
}

sigset_t StopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGHUP);
  return set;
}

// The parent process id in /proc/<pid>/stat: the fourth field, after the
// command name in parentheses (which may itself hold blanks and parentheses).
pid_t ParentOf(const std::string& pid) {
  const int fd = ::open(("/proc/" + pid + "/stat").c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  char buf[512];
  const ssize_t n = ::read(fd, buf, sizeof buf - 1);
  ::close(fd);
  if (n <= 0) return -1;
  buf[n] = '\0';
  const char* close = std::strrchr(buf, ')');
  if (!close || close[1] != ' ' || !close[2] || close[3] != ' ') return -1;
  return pid_t(std::strtol(close + 4, nullptr, 10));
}

// Processes the player forked (a toolkit's message box runs in one) would
// outlive it: they are ended with it.
void KillChildren() {
  DIR* proc = ::opendir("/proc");
  if (!proc) return;
  const pid_t self = ::getpid();
  while (const dirent* e = ::readdir(proc)) {
    if (e->d_name[0] < '1' || e->d_name[0] > '9') continue;
    if (ParentOf(e->d_name) != self) continue;
    const pid_t child = pid_t(std::atoi(e->d_name));
    // Reaped here: a child left for the system to reap would linger meanwhile.
    if (::kill(child, SIGKILL) == 0) ::waitpid(child, nullptr, 0);
  }
  ::closedir(proc);
}

void Watch(sigset_t set, const std::function<void()>& cleanUp) {
  int sig = 0;
  while (sigwait(&set, &sig) != 0) {
  }
  pthread_mutex_lock(&g_starts);
  g_stopping = true;
  pthread_mutex_unlock(&g_starts);
  if (cleanUp) cleanUp();
  KillChildren();
  // End by the signal itself, as a program without handlers would.
  ::signal(sig, SIG_DFL);
  sigset_t one;
  sigemptyset(&one);
  sigaddset(&one, sig);
  pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
  ::raise(sig);
  ::_exit(128 + sig);
}

}  // namespace

void WatchStopSignals(std::function<void()> cleanUp) {
  const sigset_t set = StopSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  static const bool forks = pthread_atfork(BeginChildStart, EndChildStart, StartForkedChild) == 0;
  (void)forks;
  std::thread(Watch, set, std::move(cleanUp)).detach();
}

bool StopSignalTaken() { return g_stopping; }

void HaltOnStopSignal() {
  if (!g_stopping) return;
  // The stop signals are blocked in this thread: nothing wakes it, the
  // watcher ends the process.
  for (;;) ::pause();
}

TChildStart::TChildStart() { BeginChildStart(); }

TChildStart::~TChildStart() { EndChildStart(); }

}  // namespace kx
