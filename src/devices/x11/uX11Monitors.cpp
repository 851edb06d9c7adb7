#include "devices/x11/uX11Monitors.h"

// Our headers first: Xlib defines macros that clash with names of ours.
#include <X11/Xlib.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>

namespace kx {
namespace {

bool Inside(const TRect& inner, const TRect& outer) {
  return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
         inner.Bottom <= outer.Bottom;
}

}  // namespace

std::vector<TRect> OrderMonitors(const std::vector<TRect>& raw, int primary) {
  const auto usable = [&](size_t i) {
    const TRect& r = raw[i];
    if (r.Width() <= 0 || r.Height() <= 0) return false;
    int inside = 0;
    for (size_t j = 0; j < raw.size(); ++j)
      if (raw[j] != r && raw[j].Width() > 0 && raw[j].Height() > 0 && Inside(raw[j], r)) ++inside;
    return inside < 2;  // a rectangle around two or more monitors is no monitor itself
  };
  std::vector<TRect> out;
  const auto add = [&](size_t i) {
    if (usable(i) && std::find(out.begin(), out.end(), raw[i]) == out.end()) out.push_back(raw[i]);
  };
  if (primary >= 0 && size_t(primary) < raw.size()) add(size_t(primary));
  for (size_t i = 0; i < raw.size(); ++i) add(i);
  return out;
}

bool CanOpenX11Display() {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return false;
  XCloseDisplay(d);
  return true;
}

std::vector<TRect> ListMonitors() {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return {};
  std::vector<TRect> raw;
  int primary = -1;
  int event = 0, error = 0;
  if (XRRQueryExtension(d, &event, &error)) {
    int count = 0;
    if (XRRMonitorInfo* m = XRRGetMonitors(d, DefaultRootWindow(d), True, &count)) {
      for (int i = 0; i < count; ++i) {
        raw.push_back({m[i].x, m[i].y, m[i].x + m[i].width, m[i].y + m[i].height});
        if (m[i].primary && primary < 0) primary = i;
      }
      XRRFreeMonitors(m);
    }
  }
  if (raw.empty() && XineramaQueryExtension(d, &event, &error) && XineramaIsActive(d)) {
    int count = 0;
    if (XineramaScreenInfo* s = XineramaQueryScreens(d, &count)) {
      for (int i = 0; i < count; ++i)
        raw.push_back({s[i].x_org, s[i].y_org, s[i].x_org + s[i].width, s[i].y_org + s[i].height});
      XFree(s);
    }
  }
  XCloseDisplay(d);
  return OrderMonitors(raw, primary);
}

}  // namespace kx
