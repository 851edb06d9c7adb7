// The Windows desktop's answers to devices/uWindowSystem.h and OpenHostWindow.
#include "devices/gdi/uGdiHostWindow.h"
#include "devices/uHostWindow.h"
#include "devices/uWindowSystem.h"

#include <windows.h>

namespace kx {

// Pixel-exact coordinates on screens scaled above 100 %: without this the
// system would stretch our frames and report scaled monitor sizes.
void PrepareWindowSystem() { ::SetProcessDPIAware(); }

// A desktop is always there to open windows on.
bool CanOpenWindowSystem() { return ::GetDesktopWindow() != nullptr; }

// SDL's own display list serves: it puts the primary monitor first and
// gives every monitor in desktop coordinates.
std::vector<TRect> ListMonitors() { return {}; }

// No Wayland here.
TWaylandSession ProbeWaylandSession() { return {}; }

std::unique_ptr<IHostWindow> OpenHostWindow(uint64_t id) { return std::make_unique<TGdiHostWindow>(id); }

}  // namespace kx
