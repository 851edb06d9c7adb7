// The show inside another program's window, on a real (virtual) X screen:
// frames of which only parts are painted leave the window showing the whole
// last frame, and a window whose content was lost is painted again.
#include <gtest/gtest.h>

#include <random>

#include "devices/uHostWindowDisplay.h"
#include "support/BitmapSupport.h"
#include "support/VirtualScreen.h"

// After ours: Xlib's macros (KeyPress, None) clash with our names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace kx;
using kxtest::NoAlpha;

namespace {

// A plain window of another client, as a screensaver daemon would make.
class THost {
 public:
  THost(int w, int h) : m_display(XOpenDisplay(nullptr)) {
    if (!m_display) return;
    m_window = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 10, 20, unsigned(w), unsigned(h), 0, 0,
                                   0x123456);
    XMapWindow(m_display, m_window);
    XSync(m_display, False);
  }
  ~THost() {
    if (m_display) XCloseDisplay(m_display);
  }
  Window Id() const { return m_window; }

  TBitmap32 Grab(int w, int h) {
    TBitmap32 out(w, h);
    XImage* image = XGetImage(m_display, m_window, 0, 0, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
    if (!image) return out;
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) out.SetPixel(x, y, TPixel(XGetPixel(image, x, y) & 0xFFFFFF));
    XDestroyImage(image);
    return out;
  }
  // What another window sliding over it would do: the content is lost and
  // the window is told so.
  // What the daemon does when the screen changes: the server keeps what
  // fits and tells the window's clients.
  void Resize(int w, int h) {
    XResizeWindow(m_display, m_window, unsigned(w), unsigned(h));
    XSync(m_display, False);
  }
  void LoseContent() {
    XClearArea(m_display, m_window, 0, 0, 0, 0, True);
    XSync(m_display, False);
  }

 private:
  Display* m_display;
  Window m_window = 0;
};

class X11HostDisplayOnScreen : public kxtest::TScreenTest {};

TEST_F(X11HostDisplayOnScreen, PartialPaintsAddUpToTheFrameAndExposuresArePaintedAgain) {
  THost host(96, 64);
  ASSERT_NE(host.Id(), 0u);
  THostWindowDisplay display(OpenHostWindow(host.Id()));
  ASSERT_EQ(display.ScreenWidth(), 96);
  display.StartPlain();

  std::mt19937 g(3);
  TBitmap32 frame = NoAlpha(kxtest::Tagged(80, 50, 2));
  TBitmap32 want(96, 64, 0);
  for (int round = 0; round < 12; ++round) {
    frame.FillRect(TRect::FromSize(int32_t(g() % 75), int32_t(g() % 45), 6, 4), TPixel(g() & 0xFFFFFF));
    display.Draw(frame, 8, 7, TFrameChange::Changed);
  }
  want.Draw(8, 7, frame);
  ASSERT_EQ(host.Grab(96, 64), want);

  host.LoseContent();
  ASSERT_EQ(host.Grab(96, 64).Pixel(0, 0), TPixel(0x123456));  // the content is gone
  std::vector<TInputEvent> input;
  display.WaitEvents(2000);  // the exposure's message wakes it
  display.PumpEvents(input);
  EXPECT_EQ(host.Grab(96, 64), want);
  EXPECT_TRUE(input.empty());
}

// The window grows and shrinks under a show: each time it is black all over
// at its new size, with no copy of the old frame left where it was, and the
// frame fitted to the new size is what the window then shows.
TEST_F(X11HostDisplayOnScreen, ASizeChangeLeavesNothingOfTheOldFrame) {
  THost host(64, 36);
  ASSERT_NE(host.Id(), 0u);
  THostWindowDisplay display(OpenHostWindow(host.Id()));
  display.StartPlain();
  const TPixel red = MakePixel(200, 40, 40);
  display.Draw(TBitmap32(36, 36, red), 14, 0, TFrameChange::Changed);
  for (const TPoint to : {TPoint{128, 72}, TPoint{48, 27}}) {
    host.Resize(to.X, to.Y);
    std::vector<TInputEvent> input;
    for (int i = 0; i < 50 && display.ScreenWidth() != to.X; ++i) {
      display.WaitEvents(100);
      display.PumpEvents(input);
    }
    ASSERT_EQ(display.ScreenWidth(), to.X);
    ASSERT_EQ(display.ScreenHeight(), to.Y);
    EXPECT_EQ(host.Grab(to.X, to.Y), TBitmap32(to.X, to.Y, 0)) << to.X;
    TBitmap32 want(to.X, to.Y, MakePixel(0, 0, 0));
    want.FillRect(TRect::FromSize((to.X - to.Y) / 2, 0, to.Y, to.Y), red);
    display.Draw(TBitmap32(to.Y, to.Y, red), (to.X - to.Y) / 2, 0, TFrameChange::Whole);
    EXPECT_EQ(host.Grab(to.X, to.Y), NoAlpha(want));
  }
}

}  // namespace
