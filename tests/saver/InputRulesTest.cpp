#include <gtest/gtest.h>

#include "saver/uInputRules.h"

using namespace kx;

namespace {

using A = TInputAction;

TEST(TInputRules, FirstFiveMovesAreIgnoredWhateverTheirSize) {
  TInputState state;
  TInputRules rules(state);
  rules.ShowStarted();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(rules.MouseMove(i * 500, i * 300), A::None) << i;
  EXPECT_EQ(rules.MouseMove(100, 100), A::None);  // takes the first position
  EXPECT_EQ(rules.MouseMove(103, 100), A::Close);
}

TEST(TInputRules, SmallStepsNeverCloseOneOfThreePixelsDoes) {
  TInputState state;
  state.MoveCounter = 0;
  TInputRules rules(state);
  rules.ShowStarted();
  int x = 10, y = 10;
  for (int i = 0; i < 500; ++i) {
    x += (i % 2) ? 2 : 1;
    y += (i % 3) ? 2 : -2;
    ASSERT_EQ(rules.MouseMove(x, y), A::None) << i;  // drifts hundreds of pixels in small steps
  }
  EXPECT_EQ(rules.MouseMove(x, y - 3), A::Close);
  EXPECT_EQ(rules.MouseMove(x - 3, y - 3), A::Close);
}

TEST(TInputRules, ARefusedCloseIgnoresTheNextFiveMovesAgain) {
  TInputState state;
  state.MoveCounter = 0;
  TInputRules rules(state);
  rules.ShowStarted();
  rules.MouseMove(0, 0);
  ASSERT_EQ(rules.MouseMove(50, 50), A::Close);
  rules.CloseRequested();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(rules.MouseMove(900, 900 - i * 100), A::None);
  EXPECT_EQ(rules.MouseMove(0, 0), A::Close);  // far from the last taken position (50, 50)
}

TEST(TInputRules, ButtonsAndCharacterKeysCloseOtherKeysDoNot) {
  TInputState state;
  TInputRules rules(state);
  EXPECT_EQ(rules.MouseDown(), A::Close);
  EXPECT_EQ(rules.MouseUp(), A::None);
  EXPECT_EQ(rules.KeyPress(), A::Close);
  for (int32_t key : {16 /* Shift */, 17 /* Ctrl */, 18 /* Alt */, 37 /* Left */, 113 /* F2 */})
    EXPECT_EQ(rules.KeyDown(key), A::None) << key;
}

TEST(TInputRules, F1TwiceResetsTheWaterAndANewShowClearsIt) {
  TInputState state;
  TInputRules rules(state);
  EXPECT_EQ(rules.KeyDown(kKeyF1), A::None);
  EXPECT_TRUE(state.F1);
  EXPECT_EQ(rules.KeyDown(kKeyF1), A::ResetWater);
  EXPECT_EQ(rules.KeyDown(kKeyF1), A::None);
  rules.ShowStarted();
  EXPECT_FALSE(state.F1);
  EXPECT_EQ(rules.KeyDown(kKeyF1), A::None);
}

}  // namespace
