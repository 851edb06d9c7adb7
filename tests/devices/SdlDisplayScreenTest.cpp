// The SDL display on a real (virtual) X screen: after many frames of which
// only parts were sent, every monitor's window shows the whole last frame.
#include <gtest/gtest.h>

#include <random>

#include "devices/sdl/uSdlDisplay.h"
#include "raster/uScaleDraw.h"
#include "support/BitmapSupport.h"
#include "support/VirtualScreen.h"

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

}  // namespace
