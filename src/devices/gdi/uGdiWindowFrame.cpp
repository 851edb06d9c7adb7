// The window frame on the Windows desktop: window styles. A window without a
// border is a pop-up window. The toolkit makes such a window a tool window,
// which has no taskbar button; a top-level window of ours (no owner) gets
// its button back, labelled with the screensaver's name.
#include "devices/uWindowFrame.h"

#include <windows.h>

#include "os/win32/uWidePath.h"

namespace kx {
namespace {

HWND Handle(const TNativeWindow& window) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(window.Handle)); }

}  // namespace

void SetWindowFrameHints(const TNativeWindow& window, const TWindowFrame& frame) {
  const HWND h = Handle(window);
  LONG_PTR style = ::GetWindowLongPtrW(h, GWL_STYLE);
  style &= ~LONG_PTR(WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MAXIMIZEBOX | WS_MINIMIZEBOX);
  if (!frame.Border) style |= WS_POPUP;
  else style |= WS_CAPTION;
  if (frame.Border && frame.Resizable) style |= WS_THICKFRAME;
  if (frame.Menu) {
    style |= WS_SYSMENU;
    if (frame.Maximize) style |= WS_MAXIMIZEBOX;
    if (frame.Minimize) style |= WS_MINIMIZEBOX;
  }
  ::SetWindowLongPtrW(h, GWL_STYLE, style);

  const LONG_PTR exStyle = ::GetWindowLongPtrW(h, GWL_EXSTYLE);
  LONG_PTR wantEx = exStyle & ~LONG_PTR(WS_EX_TOOLWINDOW);
  if (!::GetWindow(h, GW_OWNER)) wantEx |= WS_EX_APPWINDOW;
  if (!frame.Border && !frame.TaskbarTitle.empty()) ::SetWindowTextW(h, WidePath(frame.TaskbarTitle).c_str());
  if (wantEx != exStyle) {
    // The task bar reads the extended style when a window is shown.
    const bool visible = ::IsWindowVisible(h);
    if (visible) ::ShowWindow(h, SW_HIDE);
    ::SetWindowLongPtrW(h, GWL_EXSTYLE, wantEx);
    if (visible) ::ShowWindow(h, SW_SHOW);
  }
  ::SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// Nothing to do on Windows: a pop-up window keeps its taskbar button, the
// taskbar names it by its caption, a window class is fixed when the toolkit
// registers it, and the taskbar takes the icon from the program's resources.
void SetWindowIdentity(const TNativeWindow&, const TWindowIdentity&) {}

void SetWindowMaximized(const TNativeWindow& window) { ::ShowWindow(Handle(window), SW_MAXIMIZE); }

}  // namespace kx
