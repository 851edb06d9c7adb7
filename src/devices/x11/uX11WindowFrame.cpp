// The window frame on X11: the Motif window-manager hints most window
// managers honour, and the EWMH state for a maximised window.
#include "devices/uWindowFrame.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace kx {
namespace {

// The Motif window-manager hints property, as window managers read it.
constexpr unsigned long kHintsFunctions = 1, kHintsDecorations = 2;
constexpr unsigned long kFuncResize = 2, kFuncMove = 4, kFuncMinimize = 8, kFuncMaximize = 16, kFuncClose = 32;
constexpr unsigned long kDecorBorder = 2, kDecorResize = 4, kDecorTitle = 8, kDecorMenu = 16, kDecorMinimize = 32,
                        kDecorMaximize = 64;

}  // namespace

void SetWindowFrameHints(const TNativeWindow& native, const TWindowFrame& frame) {
  auto* d = static_cast<Display*>(native.Connection);
  const Window window = Window(native.Handle);
  unsigned long functions = kFuncMove, decorations = 0;
  if (frame.Border) {
    decorations = kDecorBorder | kDecorTitle;
    if (frame.Resizable) decorations |= kDecorResize;
    if (frame.Menu) {
      decorations |= kDecorMenu;
      functions |= kFuncClose;
      if (frame.Maximize) decorations |= kDecorMaximize;
      if (frame.Minimize) decorations |= kDecorMinimize;
    }
  }
  if (frame.Resizable) functions |= kFuncResize;
  if (frame.Menu && frame.Maximize) functions |= kFuncMaximize;
  if (frame.Menu && frame.Minimize) functions |= kFuncMinimize;
  // Without the window menu there is no close button; closing stays with the
  // window's own controls.
  const long hints[5] = {long(kHintsFunctions | kHintsDecorations), long(functions), long(decorations), 0, 0};
  const Atom motif = XInternAtom(d, "_MOTIF_WM_HINTS", False);
  XChangeProperty(d, window, motif, motif, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(hints), 5);
  XFlush(d);
}

void SetWindowMaximized(const TNativeWindow& native) {
  auto* d = static_cast<Display*>(native.Connection);
  const Window window = Window(native.Handle);
  const Atom state = XInternAtom(d, "_NET_WM_STATE", False);
  const Atom atoms[2] = {XInternAtom(d, "_NET_WM_STATE_MAXIMIZED_VERT", False),
                         XInternAtom(d, "_NET_WM_STATE_MAXIMIZED_HORZ", False)};
  XChangeProperty(d, window, state, XA_ATOM, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(atoms), 2);
  // A mapped window is changed by a client message to the root window.
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = window;
  e.xclient.message_type = state;
  e.xclient.format = 32;
  e.xclient.data.l[0] = 1;  // add
  e.xclient.data.l[1] = long(atoms[0]);
  e.xclient.data.l[2] = long(atoms[1]);
  e.xclient.data.l[3] = 1;
  XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
  XFlush(d);
}

}  // namespace kx
