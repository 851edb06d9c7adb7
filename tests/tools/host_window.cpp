// A stand-in for a screensaver host: makes a window of W x H and prints its
// id, then keeps it until the process is ended.
//   host_window W H            mapped at once
//   host_window W H map MS     mapped after MS milliseconds
//   host_window W H destroy MS never mapped, destroyed after MS milliseconds
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 1;
  const unsigned w = unsigned(std::atoi(argv[1])), h = unsigned(std::atoi(argv[2]));
  const char* action = argc > 4 ? argv[3] : "";
  const int delay = argc > 4 ? std::atoi(argv[4]) : 0;
  XSetWindowAttributes a{};
  a.background_pixmap = None;  // nothing repaints what the guest drew
  a.event_mask = ButtonPressMask | KeyPressMask | PointerMotionMask;  // as a daemon takes the input
  const Window win = XCreateWindow(d, DefaultRootWindow(d), 0, 0, w, h, 0, CopyFromParent, InputOutput,
                                   CopyFromParent, CWBackPixmap | CWEventMask, &a);
  if (std::strcmp(action, "destroy") != 0 && std::strcmp(action, "map") != 0) XMapWindow(d, win);
  XSync(d, False);
  std::printf("%lu\n", win);
  std::fflush(stdout);
  if (delay > 0) {
    usleep(useconds_t(delay) * 1000);
    if (std::strcmp(action, "map") == 0) XMapWindow(d, win);
    if (std::strcmp(action, "destroy") == 0) XDestroyWindow(d, win);
    XSync(d, False);
  }
  for (;;) {  // until the test ends the process
    XEvent e;
    XNextEvent(d, &e);
  }
  XCloseDisplay(d);
  return 0;
}
