// The X11 backend's answers to devices/uWindowSystem.h and OpenHostWindow.
#include "devices/uHostWindow.h"
#include "devices/uWindowSystem.h"
#include "devices/x11/uX11Errors.h"
#include "devices/x11/uX11HostWindow.h"
#include "devices/x11/uX11Monitors.h"

namespace kx {

// A late message to one of our windows that is closing must not end the
// program through Xlib's default error handler.
void PrepareWindowSystem() { InstallX11ErrorHandler(); }

bool CanOpenWindowSystem() { return CanOpenX11Display(); }

std::unique_ptr<IHostWindow> OpenHostWindow(uint64_t id) { return std::make_unique<TX11HostWindow>(id); }

}  // namespace kx
