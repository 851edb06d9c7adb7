#include "devices/x11/uX11HostWindow.h"

// Our headers first: Xlib defines macros (KeyPress, None, Status) that clash with names of ours.
#include "devices/uDisplay.h"
#include "devices/x11/uX11Errors.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace kx {
namespace {

int ShiftOf(unsigned long mask) {
  int shift = 0;
  while (mask && !(mask & 1)) mask >>= 1, ++shift;
  return shift;
}

int BitsOf(unsigned long mask) {
  int bits = 0;
  for (; mask; mask >>= 1) bits += int(mask & 1);
  return bits;
}

}  // namespace

struct TX11HostWindow::TState {
  Display* display = nullptr;
  Window window = 0;
  GC gc = nullptr;
  Visual* visual = nullptr;
  int depth = 0;
  TPoint size{};
  std::vector<uint32_t> pixels;  // one row block in the window's pixel format
};

TX11HostWindow::TX11HostWindow(uint64_t id) : m(std::make_unique<TState>()) {
  InstallX11ErrorHandler();
  m->display = XOpenDisplay(nullptr);
  if (!m->display) throw TDisplayUnavailable("no display: cannot open the X display");
  m->window = id ? Window(id) : DefaultRootWindow(m->display);
  XWindowAttributes a{};
  ResetX11Error();
  const Status ok = XGetWindowAttributes(m->display, m->window, &a);
  XSync(m->display, False);
  if (!ok || LastX11Error() != 0) {
    XCloseDisplay(m->display);
    m->display = nullptr;
    throw TDisplayUnavailable("no window " + std::to_string(id) + " on the display");
  }
  m->visual = a.visual;
  m->depth = a.depth;
  m->size = {a.width, a.height};
  // Structure events only: size changes and destruction. Input stays with the host.
  XSelectInput(m->display, m->window, a.your_event_mask | StructureNotifyMask | ExposureMask);
  m->gc = XCreateGC(m->display, m->window, 0, nullptr);
  XSync(m->display, False);
}

TX11HostWindow::~TX11HostWindow() {
  if (!m->display) return;
  if (m->gc) XFreeGC(m->display, m->gc);
  XCloseDisplay(m->display);
}

bool TX11HostWindow::Exists() {
  XWindowAttributes a{};
  ResetX11Error();
  const Status ok = XGetWindowAttributes(m->display, m->window, &a);
  XSync(m->display, False);
  return ok && LastX11Error() == 0;
}

bool TX11HostWindow::Viewable() {
  XWindowAttributes a{};
  ResetX11Error();
  const Status ok = XGetWindowAttributes(m->display, m->window, &a);
  XSync(m->display, False);
  if (!ok || LastX11Error() != 0) return false;
  m->size = {a.width, a.height};
  return a.map_state == IsViewable;
}

TPoint TX11HostWindow::Size() { return m->size; }

TWindowEvents TX11HostWindow::ProcessEvents() {
  TWindowEvents events;
  while (XPending(m->display)) {
    XEvent e;
    XNextEvent(m->display, &e);
    if (e.type == DestroyNotify && e.xdestroywindow.window == m->window) events.Destroyed = true;
    if (e.type == Expose && e.xexpose.window == m->window) events.Exposed = true;
    if (e.type == ConfigureNotify && e.xconfigure.window == m->window &&
        (e.xconfigure.width != m->size.X || e.xconfigure.height != m->size.Y)) {
      m->size = {e.xconfigure.width, e.xconfigure.height};
      events.Resized = true;
    }
  }
  return events;
}

void TX11HostWindow::WaitEvents(uint32_t ms) {
  if (XPending(m->display)) return;
  pollfd fd{ConnectionNumber(m->display), POLLIN, 0};
  ::poll(&fd, 1, int(std::min<uint32_t>(ms, 1u << 30)));
}

void TX11HostWindow::Paint(const TBitmap32& bitmap, int32_t x, int32_t y, const std::vector<TRect>* only) {
  const TRect whole = bitmap.BoundsRect().Offset(x, y).Intersect({0, 0, m->size.X, m->size.Y});
  if (whole.Empty() || (m->depth != 24 && m->depth != 32)) return;
  if (!only) {
    PaintPart(bitmap, x, y, whole);
  } else {
    for (const TRect& part : *only) PaintPart(bitmap, x, y, whole.Intersect(part));
  }
  XSync(m->display, False);
}

void TX11HostWindow::PaintPart(const TBitmap32& bitmap, int32_t x, int32_t y, const TRect& r) {
  if (r.Empty()) return;
  const unsigned long rm = m->visual->red_mask, gm = m->visual->green_mask, bm = m->visual->blue_mask;
  const bool native = rm == 0xFF0000 && gm == 0xFF00 && bm == 0xFF;
  const int rs = ShiftOf(rm), gs = ShiftOf(gm), bs = ShiftOf(bm);
  const int rl = 8 - BitsOf(rm), gl = 8 - BitsOf(gm), bl = 8 - BitsOf(bm);
  // In bands of rows, so a full-screen frame needs no full-screen buffer.
  const int32_t band = std::max<int32_t>(1, int32_t((1 << 20) / std::max(1, r.Width())));
  for (int32_t top = r.Top; top < r.Bottom; top += band) {
    const int32_t rows = std::min(band, r.Bottom - top);
    m->pixels.resize(size_t(r.Width()) * size_t(rows));
    for (int32_t row = 0; row < rows; ++row) {
      const TPixel* src = bitmap.Row(top + row - y) + (r.Left - x);
      uint32_t* dst = m->pixels.data() + size_t(row) * size_t(r.Width());
      if (native) {
        for (int32_t i = 0; i < r.Width(); ++i) dst[i] = src[i] & 0xFFFFFFu;
      } else {
        for (int32_t i = 0; i < r.Width(); ++i) {
          const uint32_t p = src[i];
          dst[i] = (((p >> 16) & 255) >> rl) << rs | (((p >> 8) & 255) >> gl) << gs | ((p & 255) >> bl) << bs;
        }
      }
    }
    XImage* image = XCreateImage(m->display, m->visual, unsigned(m->depth), ZPixmap, 0,
                                 reinterpret_cast<char*>(m->pixels.data()), unsigned(r.Width()), unsigned(rows), 32,
                                 r.Width() * 4);
    if (!image) return;
    XPutImage(m->display, m->window, m->gc, image, 0, 0, r.Left, top, unsigned(r.Width()), unsigned(rows));
    image->data = nullptr;  // the pixels are ours
    XDestroyImage(image);
  }
}

}  // namespace kx
