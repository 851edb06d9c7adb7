// Splits the X screen into monitors, as `xrandr --setmonitor` does, but kept
// after this program ends (Xvfb drops a client's monitors when it leaves).
//   set_monitors WxH+X+Y [WxH+X+Y ...]    the first is the primary
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  Display* d = XOpenDisplay(nullptr);
  if (!d || argc < 2) return 1;
  XSetCloseDownMode(d, RetainPermanent);
  for (int i = 1; i < argc; ++i) {
    int w = 0, h = 0, x = 0, y = 0;
    if (std::sscanf(argv[i], "%dx%d+%d+%d", &w, &h, &x, &y) != 4) return 2;
    XRRMonitorInfo* m = XRRAllocateMonitor(d, 0);
    m->name = XInternAtom(d, ("M" + std::to_string(i)).c_str(), False);
    m->x = x;
    m->y = y;
    m->width = w;
    m->height = h;
    m->mwidth = w / 4;
    m->mheight = h / 4;
    m->primary = i == 1;
    XRRSetMonitor(d, DefaultRootWindow(d), m);
    XRRFreeMonitors(m);
  }
  XSync(d, False);
  XCloseDisplay(d);
  return 0;
}
