// The SDL display on a real (virtual) X screen: after many frames of which
// only parts were sent, every monitor's window shows the whole last frame.
#include <gtest/gtest.h>

#include <random>

#include "devices/sdl/uSdlDisplay.h"
#include "raster/uScaleDraw.h"
#include "support/BitmapSupport.h"
#include "support/VirtualScreen.h"

#include <SDL.h>

// After ours: Xlib's macros (KeyPress, None) clash with our names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace kx;
using kxtest::NoAlpha;

namespace {

// The screen's pixels in r, as the window system shows them.
TBitmap32 Grab(const TRect& r) {
  TBitmap32 out(r.Width(), r.Height());
  Display* d = XOpenDisplay(nullptr);
  if (!d) return out;
  XImage* image = XGetImage(d, DefaultRootWindow(d), r.Left, r.Top, unsigned(r.Width()), unsigned(r.Height()),
                            AllPlanes, ZPixmap);
  if (image) {
    for (int32_t y = 0; y < r.Height(); ++y)
      for (int32_t x = 0; x < r.Width(); ++x) out.SetPixel(x, y, TPixel(XGetPixel(image, x, y) & 0xFFFFFF));
    XDestroyImage(image);
  }
  XCloseDisplay(d);
  return out;
}

class SdlDisplayOnScreen : public kxtest::TScreenTest {};

TEST_F(SdlDisplayOnScreen, WindowsShowTheWholeFrameAfterPartialUpdates) {
  const TRect primary{0, 0, 320, 240}, second{320, 0, 520, 180};
  TSdlDisplay display({primary, second});
  display.StartPlain();
  std::vector<TInputEvent> input;
  display.PumpEvents(input);

  std::mt19937 g(5);
  TBitmap32 frame = NoAlpha(kxtest::Tagged(200, 150, 1));
  const int32_t fx = 60, fy = 45;
  for (int round = 0; round < 24; ++round) {
    // A moving block and a few scattered pixels, as water and sprites change them.
    frame.FillRect(TRect::FromSize(int32_t(g() % 190), int32_t(g() % 140), 10, 6),
                   MakePixel(uint8_t(g()), uint8_t(g()), uint8_t(g()), 0));
    for (int i = 0; i < 3; ++i)
      frame.SetPixel(int32_t(g() % 200), int32_t(g() % 150), MakePixel(uint8_t(g()), 0, uint8_t(g()), 0));
    display.Draw(frame, fx, fy, TFrameChange::Changed);
    if (round % 6 != 5) continue;

    TBitmap32 want(320, 240, MakePixel(0, 0, 0, 0));
    want.Draw(fx, fy, frame);
    ASSERT_EQ(Grab(primary), want) << "primary, round " << round;
    // The other monitor shows the screen fitted and centred on black.
    TBitmap32 fitted(200, 180, MakePixel(0, 0, 0, 0));
    DrawScaled(want, fitted.Bits(), 200, 180, fitted.StrideBytes(), TRect{0, 15, 200, 165});
    ASSERT_EQ(NoAlpha(Grab(second)), NoAlpha(fitted)) << "second monitor, round " << round;
  }
  display.Close();
}

// The show's window on the monitor whose top left corner is `corner`.
SDL_Window* WindowAt(TPoint corner) {
  for (uint32_t id = 1; id < 1000; ++id)
    if (SDL_Window* w = SDL_GetWindowFromID(id)) {
      int x = 0, y = 0;
      SDL_GetWindowPosition(w, &x, &y);
      if (x == corner.X && y == corner.Y) return w;
    }
  return nullptr;
}

SDL_Event WindowEvent(SDL_Window* w, SDL_WindowEventID what) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = SDL_GetWindowID(w);
  e.window.event = Uint8(what);
  return e;
}

SDL_Event Motion(SDL_Window* w, int x, int y) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = SDL_GetWindowID(w);
  e.motion.x = x;
  e.motion.y = y;
  return e;
}

// Windows opening under a still pointer report the pointer entering them,
// and SDL adds a move to where it already is: those are no moves of the
// mouse. Moves are given on the desktop, whichever monitor they are on.
TEST_F(SdlDisplayOnScreen, EnteringAWindowIsNoMouseMove) {
  const TRect primary{0, 0, 160, 120}, second{160, 0, 320, 120};
  TSdlDisplay display({primary, second});
  display.StartPlain();
  std::vector<TInputEvent> input;
  display.PumpEvents(input);
  SDL_Window* a = WindowAt({0, 0});
  SDL_Window* b = WindowAt({160, 0});
  ASSERT_TRUE(a && b);
  input.clear();
  for (SDL_Event e : {WindowEvent(a, SDL_WINDOWEVENT_ENTER), Motion(a, 10, 10), WindowEvent(b, SDL_WINDOWEVENT_ENTER),
                      Motion(b, 90, 50), Motion(b, 91, 50), WindowEvent(a, SDL_WINDOWEVENT_ENTER), Motion(a, 40, 30)})
    ASSERT_EQ(SDL_PushEvent(&e), 1);
  display.PumpEvents(input);
  EXPECT_EQ(input, (std::vector<TInputEvent>{{TInputKind::MouseMove, 251, 50, 0}}));
  display.Close();
}

// The show's own window takes another size: the screen follows it and is
// black, and a frame of the new size shows as it is, not scaled.
TEST_F(SdlDisplayOnScreen, TheScreenFollowsTheWindowsSize) {
  TSdlDisplay display({{0, 0, 200, 100}});
  display.StartPlain();
  std::vector<TInputEvent> input;
  display.PumpEvents(input);
  display.Draw(TBitmap32(100, 100, MakePixel(200, 40, 40, 0)), 50, 0, TFrameChange::Changed);
  SDL_Window* w = WindowAt({0, 0});
  ASSERT_TRUE(w);
  SDL_SetWindowSize(w, 300, 150);
  for (int i = 0; i < 50 && display.ScreenWidth() != 300; ++i) {
    SDL_Delay(20);
    display.PumpEvents(input);
  }
  ASSERT_EQ(display.ScreenWidth(), 300);
  ASSERT_EQ(display.ScreenHeight(), 150);
  EXPECT_EQ(NoAlpha(Grab({0, 0, 300, 150})), TBitmap32(300, 150, 0));
  TBitmap32 want(300, 150, MakePixel(0, 0, 0, 0));
  want.FillRect({75, 0, 225, 150}, MakePixel(200, 40, 40, 0));
  display.Draw(TBitmap32(150, 150, MakePixel(200, 40, 40, 0)), 75, 0, TFrameChange::Whole);
  EXPECT_EQ(NoAlpha(Grab({0, 0, 300, 150})), NoAlpha(want));
  display.Close();
}

}  // namespace
