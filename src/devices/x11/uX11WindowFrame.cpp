// The window frame on X11: the Motif window-manager hints most window
// managers honour, the EWMH state for a maximised window and for the taskbar,
// the class hint and the EWMH icon.
#include "devices/uWindowFrame.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

namespace kx {
namespace {

// The Motif window-manager hints property, as window managers read it.
constexpr unsigned long kHintsFunctions = 1, kHintsDecorations = 2;
constexpr unsigned long kFuncResize = 2, kFuncMove = 4, kFuncMinimize = 8, kFuncMaximize = 16, kFuncClose = 32;
constexpr unsigned long kDecorBorder = 2, kDecorResize = 4, kDecorTitle = 8, kDecorMenu = 16, kDecorMinimize = 32,
                        kDecorMaximize = 64;

constexpr long kRemoveState = 0, kAddState = 1;

// A mapped window's _NET_WM_STATE is changed by a client message to the root
// window: the window manager adds or removes the one or two states named.
void SendStateChange(Display* d, Window window, long action, Atom first, Atom second) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = window;
  e.xclient.message_type = XInternAtom(d, "_NET_WM_STATE", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = action;
  e.xclient.data.l[1] = long(first);
  e.xclient.data.l[2] = long(second);
  e.xclient.data.l[3] = 1;  // from a normal application
  XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

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

void SetWindowIdentity(const TNativeWindow& native, const TWindowIdentity& identity) {
  auto* d = static_cast<Display*>(native.Connection);
  const Window window = Window(native.Handle);
  // The toolkit marks every window without a border "skip taskbar"; the
  // mark goes from the property (read when the window manager takes the
  // window) and, for a window already managed, by a message to the root.
  const Atom state = XInternAtom(d, "_NET_WM_STATE", False);
  const Atom skip = XInternAtom(d, "_NET_WM_STATE_SKIP_TASKBAR", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(d, window, state, 0, 1024, False, XA_ATOM, &type, &format, &count, &after, &data) == Success &&
      data) {
    std::vector<Atom> kept;
    const auto* atoms = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < count; ++i)
      if (atoms[i] != skip) kept.push_back(atoms[i]);
    if (kept.size() != count)
      XChangeProperty(d, window, state, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(kept.data()), int(kept.size()));
    XFree(data);
  }
  SendStateChange(d, window, kRemoveState, skip, None);

  std::string name = identity.Name, cls = identity.ClassName;
  XClassHint hint{name.data(), cls.data()};
  XSetClassHint(d, window, &hint);

  const Atom icon = XInternAtom(d, "_NET_WM_ICON", False);
  if (identity.Icon.Empty()) {
    XDeleteProperty(d, window, icon);
  } else {
    // Width, height, then the pixels row by row as ARGB, each in a long.
    const TBitmap32& b = identity.Icon;
    std::vector<unsigned long> cardinals{static_cast<unsigned long>(b.Width()), static_cast<unsigned long>(b.Height())};
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) cardinals.push_back(b.Pixel(x, y) | 0xFF000000u);
    XChangeProperty(d, window, icon, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(cardinals.data()), int(cardinals.size()));
  }
  XFlush(d);
}

void SetWindowMaximized(const TNativeWindow& native) {
  auto* d = static_cast<Display*>(native.Connection);
  const Window window = Window(native.Handle);
  const Atom state = XInternAtom(d, "_NET_WM_STATE", False);
  const Atom atoms[2] = {XInternAtom(d, "_NET_WM_STATE_MAXIMIZED_VERT", False),
                         XInternAtom(d, "_NET_WM_STATE_MAXIMIZED_HORZ", False)};
  XChangeProperty(d, window, state, XA_ATOM, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(atoms), 2);
  SendStateChange(d, window, kAddState, atoms[0], atoms[1]);
  XFlush(d);
}

}  // namespace kx
