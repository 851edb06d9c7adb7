#include "os/uStopSignals.h"

#include <windows.h>

#include <atomic>
#include <mutex>

namespace kx {
namespace {

// STATUS_CONTROL_C_EXIT, which the system's own handler ends a program with.
constexpr UINT kStoppedStatus = 0xC000013A;

std::atomic<bool> g_stopping{false};
// Held while a child starts and while the handler marks the program as stopping.
std::mutex g_starts;

std::function<void()>& CleanUp() {
  static std::function<void()> cleanUp;
  return cleanUp;
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT: break;
    default: return FALSE;
  }
  {
    std::lock_guard lock(g_starts);
    g_stopping = true;
  }
  static std::once_flag once;
  std::call_once(once, [] {
    if (CleanUp()) CleanUp()();
  });
  // Ended at once: the main thread may hold any lock a slower exit (the
  // runtime's and the libraries' own clean-up) would wait for.
  ::TerminateProcess(::GetCurrentProcess(), kStoppedStatus);
  return TRUE;
}

}  // namespace

void WatchStopSignals(std::function<void()> cleanUp) {
  CleanUp() = std::move(cleanUp);
  ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

bool StopSignalTaken() { return g_stopping; }

void HaltOnStopSignal() {
  if (!g_stopping) return;
  for (;;) ::Sleep(INFINITE);
}

TChildStart::TChildStart() {
  g_starts.lock();
  if (!g_stopping) return;
  g_starts.unlock();
  HaltOnStopSignal();
}

TChildStart::~TChildStart() { g_starts.unlock(); }

}  // namespace kx
