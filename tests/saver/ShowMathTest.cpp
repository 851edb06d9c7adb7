#include <gtest/gtest.h>

#include "saver/uShowMath.h"

using namespace kx;

namespace {

TEST(StretchTarget, FillsTheScreenOrKeepsProportions) {
  struct Case {
    int32_t w, h;
    bool proportional;
    TPoint target;
  };
  const Case cases[] = {
      {1000, 500, true, {1280, 640}},  {500, 1000, true, {512, 1024}}, {800, 600, true, {1280, 960}},
      {1280, 1024, true, {1280, 1024}}, {1000, 500, false, {1280, 1024}}, {3, 1000, true, {3, 1024}},
      {1000, 1, true, {1280, 1}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(StretchTarget(c.w, c.h, 1280, 1024, c.proportional), c.target) << c.w << "x" << c.h;
  // A width of exactly 2.5 pixels rounds to the even neighbour.
  EXPECT_EQ(StretchTarget(5, 2048, 1280, 1024, true), (TPoint{2, 1024}));
}

TEST(CentredOrigin, TruncatesTowardZero) {
  EXPECT_EQ(CentredOrigin(800, 600, 1280, 1024), (TPoint{240, 212}));
  EXPECT_EQ(CentredOrigin(1280, 640, 1280, 1024), (TPoint{0, 192}));
  EXPECT_EQ(CentredOrigin(512, 1024, 1280, 1024), (TPoint{384, 0}));
  EXPECT_EQ(CentredOrigin(1283, 1027, 1280, 1024), (TPoint{-1, -1}));
}

TEST(BackPictureSize, ThreeQualitiesOthersKeepTheSize) {
  TPoint size{11, 22};
  BackPictureSize(3, size);
  EXPECT_EQ(size, (TPoint{11, 22}));
  BackPictureSize(0, size);
  EXPECT_EQ(size, (TPoint{1024, 768}));
  BackPictureSize(1, size);
  EXPECT_EQ(size, (TPoint{800, 600}));
  BackPictureSize(2, size);
  EXPECT_EQ(size, (TPoint{640, 480}));
  BackPictureSize(-1, size);
  EXPECT_EQ(size, (TPoint{640, 480}));
}

TEST(TransitionPercent, RoundsHalvesToEven) {
  std::vector<int32_t> eight;
  for (int i = 0; i <= 8; ++i) eight.push_back(TransitionPercent(i, 8));
  EXPECT_EQ(eight, (std::vector<int32_t>{0, 12, 25, 38, 50, 62, 75, 88, 100}));
  EXPECT_EQ(TransitionPercent(1, 64), 2);
  EXPECT_EQ(TransitionPercent(2, 64), 3);
  EXPECT_EQ(TransitionPercent(3, 64), 5);
  EXPECT_EQ(TransitionPercent(64, 64), 100);
}

TEST(ParseTransitionList, KeepsEffectNumbersOnly) {
  const std::pair<const char*, std::vector<int32_t>> cases[] = {
      {"1,2,3", {1, 2, 3}},
      {" 7 ,\t9\r\n, 169", {7, 9, 169}},
      {"", {1}},
      {",,,", {1}},
      {"0,170,-4,x,12a,55", {55}},
      {"abc", {1}},
  };
  for (const auto& [text, list] : cases) EXPECT_EQ(ParseTransitionList(text), list) << text;
}

}  // namespace
