#include "devices/x11/uX11Errors.h"

#include <X11/Xlib.h>

#include <atomic>
#include <mutex>

namespace kx {
namespace {

std::atomic<int> g_lastError{0};

int RecordError(Display*, XErrorEvent* e) {
  g_lastError = e->error_code;
  return 0;
}

}  // namespace

void InstallX11ErrorHandler() {
  static std::once_flag once;
  std::call_once(once, [] { XSetErrorHandler(RecordError); });
}

int LastX11Error() { return g_lastError; }

void ResetX11Error() { g_lastError = 0; }

}  // namespace kx
