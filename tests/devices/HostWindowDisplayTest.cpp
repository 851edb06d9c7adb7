// The show inside another program's window, with a window in memory: the
// window's size and monitors decide the working size, a size change leaves
// the window black at the new size, every monitor shows the frame (the
// first at its place, the others fitted in proportion on black), and a huge
// window is worked at no more than the 8K-class size.
#include <gtest/gtest.h>

#include <random>

#include "devices/uHostWindowDisplay.h"
#include "devices/uWorkingSize.h"
#include "raster/uScaleDraw.h"
#include "support/BitmapSupport.h"

using namespace kx;
using kxtest::NoAlpha;

namespace {

const TPixel kBlack = MakePixel(0, 0, 0);

// A host window whose pixels are a bitmap; a size change keeps what fits
// (as the window system does) and is reported with the next events.
class TMemoryWindow final : public IHostWindow {
 public:
  TMemoryWindow(int32_t w, int32_t h, bool keepPixels = true) : m_size{w, h}, m_keep(keepPixels) {
    if (m_keep) Pixels.SetSize(w, h, MakePixel(1, 2, 3));
  }
  bool Exists() override { return true; }
  bool Viewable() override { return true; }
  TPoint Size() override { return m_size; }
  void Paint(const TBitmap32& bitmap, int32_t x, int32_t y, const std::vector<TRect>* only) override {
    LargestPaint = std::max(LargestPaint, int64_t(bitmap.Width()) * bitmap.Height());
    if (!m_keep) return;
    const TRect whole = bitmap.BoundsRect().Offset(x, y).Intersect(Pixels.BoundsRect());
    const std::vector<TRect> all{whole};
    for (const TRect& part : only ? *only : all) {
      const TRect r = part.Intersect(whole);
      for (int32_t py = r.Top; py < r.Bottom; ++py)
        for (int32_t px = r.Left; px < r.Right; ++px) Pixels.SetPixel(px, py, bitmap.Pixel(px - x, py - y));
    }
  }
  TWindowEvents ProcessEvents() override { return std::exchange(m_events, TWindowEvents{}); }
  void WaitEvents(uint32_t) override {}

  void Resize(int32_t w, int32_t h) {
    m_size = {w, h};
    TBitmap32 kept(w, h, MakePixel(1, 2, 3));
    kept.Draw(0, 0, Pixels);
    Pixels = std::move(kept);
    m_events.Resized = true;
  }

  TBitmap32 Pixels;
  int64_t LargestPaint = 0;

 private:
  TPoint m_size;
  bool m_keep;
  TWindowEvents m_events;
};

TEST(WorkingSize, ScreensUpTo8KKeepTheirSizeLargerOnesTheirProportions) {
  struct TCase {
    TPoint screen, expected;
  };
  const TCase cases[] = {
      {{0, 0}, {0, 0}},
      {{640, 360}, {640, 360}},
      {{7680, 4320}, {7680, 4320}},
      {{4320, 7680}, {4320, 7680}},    // an 8K monitor turned upright
      {{65536, 2}, {65536, 2}},        // long but small
      {{16384, 16384}, {5760, 5760}},
      {{15360, 8640}, {7680, 4320}},   // 16K
      {{16384, 8192}, {8145, 4072}},
  };
  for (const TCase& c : cases) {
    const TPoint got = WorkingSize(c.screen);
    EXPECT_EQ(got, c.expected) << c.screen.X << "x" << c.screen.Y;
    EXPECT_LE(int64_t(got.X) * got.Y, kMaxWorkingPixels);
  }
}

// After a size change the window is black all over at the new size: no
// copy of the old frame stays where it was, nothing of it at the edges.
TEST(HostWindowDisplay, ASizeChangeLeavesTheWholeWindowBlackAtTheNewSize) {
  for (const TPoint to : {TPoint{128, 72}, TPoint{40, 20}}) {
    auto owned = std::make_unique<TMemoryWindow>(64, 36);
    TMemoryWindow& window = *owned;
    THostWindowDisplay display(std::move(owned));
    display.StartPlain();
    display.Draw(TBitmap32(36, 36, MakePixel(200, 40, 40)), 14, 0, TFrameChange::Changed);
    window.Resize(to.X, to.Y);
    std::vector<TInputEvent> input;
    display.PumpEvents(input);
    EXPECT_EQ(display.ScreenWidth(), to.X);
    EXPECT_EQ(display.ScreenHeight(), to.Y);
    EXPECT_EQ(display.Content(), TBitmap32(to.X, to.Y, kBlack));
    EXPECT_EQ(window.Pixels, TBitmap32(to.X, to.Y, kBlack)) << to.X;
    EXPECT_TRUE(input.empty());
  }
}

// The first monitor is the screen; the second shows the frame fitted in
// proportion and centred, the rest of the window is black, and frames of
// which only parts change leave every monitor showing the whole last frame.
// After a size change the monitors are asked for again.
TEST(HostWindowDisplay, MonitorsShowTheFrameAsTheFullScreenShowDoes) {
  std::vector<TRect> monitors{{0, 0, 64, 40}, {64, 0, 100, 20}};
  auto owned = std::make_unique<TMemoryWindow>(100, 50);
  TMemoryWindow& window = *owned;
  THostWindowDisplay display(std::move(owned), [&] { return monitors; });
  ASSERT_EQ(display.ScreenWidth(), 64);
  ASSERT_EQ(display.ScreenHeight(), 40);
  display.StartPlain();

  const auto expected = [&](const TBitmap32& frame, const TRect& second) {
    TBitmap32 want(window.Pixels.Width(), window.Pixels.Height(), kBlack);
    want.Draw(0, 0, frame);
    DrawScaled(frame, want.Bits(), want.Width(), want.Height(), want.StrideBytes(), second);
    return want;
  };
  std::mt19937 g(5);
  TBitmap32 frame = NoAlpha(kxtest::Tagged(64, 40, 4));
  for (int round = 0; round < 10; ++round) {
    frame.FillRect(TRect::FromSize(int32_t(g() % 60), int32_t(g() % 36), 5, 4), TPixel(g() & 0xFFFFFF));
    display.Draw(frame, 0, 0, TFrameChange::Changed);
  }
  EXPECT_EQ(window.Pixels, expected(frame, {66, 0, 98, 20}));

  // Side by side, the second monitor now the larger: still the first's size.
  monitors = {{0, 0, 30, 20}, {30, 0, 90, 60}};
  window.Resize(90, 60);
  std::vector<TInputEvent> input;
  display.PumpEvents(input);
  ASSERT_EQ(display.ScreenWidth(), 30);
  ASSERT_EQ(display.ScreenHeight(), 20);
  const TBitmap32 small = NoAlpha(kxtest::Tagged(30, 20, 7));
  display.Draw(small, 0, 0, TFrameChange::Whole);
  EXPECT_EQ(window.Pixels, expected(small, {30, 10, 90, 50}));
}

// A window (or monitor) of 16384 x 16384 is worked at 5760 x 5760 and
// painted through small buffers, scaled up.
TEST(HostWindowDisplay, AHugeWindowIsWorkedAtTheCappedSize) {
  auto owned = std::make_unique<TMemoryWindow>(16384, 16384, false);
  TMemoryWindow& window = *owned;
  THostWindowDisplay display(std::move(owned));
  EXPECT_EQ(display.ScreenWidth(), 5760);
  EXPECT_EQ(display.ScreenHeight(), 5760);
  display.StartPlain();
  EXPECT_EQ(display.Content().Width(), 5760);
  EXPECT_LE(window.LargestPaint, int64_t(16384) * 64);
}

}  // namespace
