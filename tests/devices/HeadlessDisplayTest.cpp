#include <gtest/gtest.h>

#include "devices/headless/uHeadlessDisplay.h"

using namespace kx;

namespace {

const TPixel kBlack = MakePixel(0, 0, 0);
const TPixel kRed = MakePixel(255, 0, 0);

TEST(THeadlessDisplay, PlainWindowKeepsWhatWasDrawnAndChargesEachFrame) {
  TVirtualClock clock;
  THeadlessDisplay display(clock, 8, 6, 30);
  display.StartPlain();
  EXPECT_FALSE(display.Exclusive());
  display.Draw(TBitmap32(4, 4, kRed), 6, -2, TFrameChange::Changed);  // clipped to the window
  EXPECT_EQ(clock.Tick(), 30u);
  const TBitmap32& c = display.Content();
  EXPECT_EQ(c.Pixel(5, 0), kBlack);
  EXPECT_EQ(c.Pixel(6, 0), kRed);
  EXPECT_EQ(c.Pixel(7, 1), kRed);
  EXPECT_EQ(c.Pixel(7, 2), kBlack);
  display.Clear();
  EXPECT_EQ(display.Content().Pixel(6, 0), kBlack);
  EXPECT_EQ(display.PresentedFrames(), 2u);
}

TEST(THeadlessDisplay, ExclusiveBackSurfaceIsStretchedOverTheScreen) {
  TVirtualClock clock;
  THeadlessDisplay display(clock, 8, 4);
  ASSERT_TRUE(display.StartExclusive());
  TBitmap32 back(2, 2, kBlack);
  back.SetPixel(1, 0, kRed);
  int captured = 0;
  display.OnPresent([&](const TBitmap32& screen) {
    ++captured;
    ASSERT_EQ(screen.Width(), 8);
    EXPECT_EQ(screen.Pixel(3, 1), kBlack);
    EXPECT_EQ(screen.Pixel(4, 0), kRed);
    EXPECT_EQ(screen.Pixel(7, 1), kRed);
    EXPECT_EQ(screen.Pixel(7, 2), kBlack);
  });
  display.Draw(back, 5, 5, TFrameChange::Changed);
  EXPECT_EQ(captured, 1);
  EXPECT_EQ(display.Content(), back);

  THeadlessDisplay refusing(clock, 8, 4);
  refusing.SetExclusiveAvailable(false);
  EXPECT_FALSE(refusing.StartExclusive());
}

TEST(THeadlessDisplay, ScriptedInputArrivesWhenItsTickIsReached) {
  TVirtualClock clock;
  THeadlessDisplay display(clock, 4, 4);
  display.Script({100, {TInputKind::KeyPress, 0, 0, 'x'}});
  display.Script({40, {TInputKind::MouseMove, 3, 4, 0}});
  std::vector<TInputEvent> input;
  display.PumpEvents(input);
  EXPECT_TRUE(input.empty());
  clock.Advance(40);
  display.PumpEvents(input);
  ASSERT_EQ(input.size(), 1u);
  EXPECT_EQ(input[0].X, 3);
  clock.Advance(70);
  display.PumpEvents(input);
  ASSERT_EQ(input.size(), 2u);
  EXPECT_EQ(input[1].Kind, TInputKind::KeyPress);
}

}  // namespace
