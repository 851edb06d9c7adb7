#include <gtest/gtest.h>

#include <vector>

#include "raster/uRegion.h"

using namespace kx;

namespace {

// The region as rows of '#' and '.', over the given box.
std::vector<std::string> Picture(const TRegion& r, const TRect& box) {
  std::vector<std::string> rows;
  for (int32_t y = box.Top; y < box.Bottom; ++y) {
    std::string row;
    for (int32_t x = box.Left; x < box.Right; ++x) row += r.Contains(x, y) ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

TEST(Region, RectanglesPutCornersInOrder) {
  EXPECT_EQ(RectRegion(5, 6, 1, 2), TRegion(TRect{1, 2, 5, 6}));
  EXPECT_TRUE(RectRegion(3, 1, 3, 9).Empty());
  EXPECT_TRUE(TRegion(TRect{4, 4, 2, 8}).Empty());  // a rectangle taken as given
}

TEST(Region, FromRectsIsTheUnionOfTheNonEmptyOnes) {
  const std::vector<TRect> rects = {{0, 0, 4, 2}, {2, 1, 6, 3}, {5, 5, 5, 9}, {9, 9, 7, 7}, {-3, 0, -1, 1}};
  const TRegion r = TRegion::FromRects(rects);
  EXPECT_EQ(r.Area(), 8 + 8 - 2 + 2);
  EXPECT_TRUE(r.Contains(5, 2));
  EXPECT_TRUE(r.Contains(-3, 0));
  EXPECT_FALSE(r.Contains(5, 5));
  EXPECT_FALSE(r.Contains(8, 8));
  EXPECT_TRUE(TRegion::FromRects({}).Empty());
}

TEST(Region, EllipseIsInscribedAndSymmetric) {
  const TRegion e = EllipseRegion(0, 0, 8, 6);
  EXPECT_EQ(Picture(e, {0, 0, 8, 6}), (std::vector<std::string>{
                                          "..####..",
                                          ".######.",
                                          "########",
                                          "########",
                                          ".######.",
                                          "..####..",
                                      }));
  EXPECT_EQ(EllipseRegion(8, 6, 0, 0), e);  // corners put in order
  EXPECT_EQ(EllipseRegion(0, 0, 1, 1), TRegion(TRect{0, 0, 1, 1}));
  EXPECT_TRUE(EllipseRegion(0, 0, 0, 5).Empty());
}

TEST(Region, RoundRectLimitsCornersToItsOwnSize) {
  // Corners of 4 x 4 on a 10 x 6 rectangle: two cut pixels per corner row.
  EXPECT_EQ(Picture(RoundRectRegion(0, 0, 10, 6, 4, 4), {0, 0, 10, 6}), (std::vector<std::string>{
                                                                            ".########.",
                                                                            "##########",
                                                                            "##########",
                                                                            "##########",
                                                                            "##########",
                                                                            ".########.",
                                                                        }));
  // Ellipses wider and taller than the rectangle become its inscribed ellipse.
  EXPECT_EQ(RoundRectRegion(0, 0, 8, 6, 16, 16), EllipseRegion(0, 0, 8, 6));
  // A strip H + 1 high with corners 2W wide gets elliptic ends of its full height.
  EXPECT_EQ(RoundRectRegion(0, 0, 40, 5, 80, 80), EllipseRegion(0, 0, 40, 5));
  EXPECT_EQ(RoundRectRegion(10, 6, 0, 0, 4, 4), RoundRectRegion(0, 0, 10, 6, 4, 4));
  EXPECT_EQ(RoundRectRegion(0, 0, 10, 6, 0, 4), TRegion(TRect{0, 0, 10, 6}));
}

TEST(Region, PolygonFillsByWinding) {
  // A five-pointed star drawn in one stroke: its centre is wound twice, and
  // the winding rule covers it (an even-odd fill would leave a hole).
  const std::vector<TPoint> star = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
  const TRegion r = PolygonRegion(star);
  EXPECT_TRUE(r.Contains(10, 10));
  EXPECT_TRUE(r.Contains(10, 2));
  EXPECT_FALSE(r.Contains(1, 17));

  const std::vector<TPoint> clockwise = {{0, 0}, {8, 0}, {0, 8}};
  const std::vector<TPoint> anticlockwise = {{0, 0}, {0, 8}, {8, 0}};
  const TRegion a = PolygonRegion(clockwise), b = PolygonRegion(anticlockwise);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a.Bounds(), (TRect{0, 0, 7, 7}));
  EXPECT_EQ(a.Area(), 28);  // rows of 7, 6, ..., 1 pixel centres inside the triangle
  EXPECT_TRUE(PolygonRegion(std::vector<TPoint>{{0, 0}, {5, 5}}).Empty());
  // Far-away outlines are cut off instead of scanned.
  const std::vector<TPoint> huge = {{0, -2000000000}, {2000000000, 2000000000}, {-2000000000, 2000000000}};
  EXPECT_TRUE(PolygonRegion(huge).Contains(0, 0));
}

TEST(Region, CombineModes) {
  const TRegion a(TRect{0, 0, 4, 4}), b(TRect{2, 2, 6, 6});
  TRegion target;
  CombineRegions(target, a, b, TCombineMode::And);
  EXPECT_EQ(target, TRegion(TRect{2, 2, 4, 4}));
  CombineRegions(target, a, b, TCombineMode::Or);
  EXPECT_EQ(target.Area(), 28);
  CombineRegions(target, a, b, TCombineMode::Xor);
  EXPECT_EQ(target.Area(), 24);
  EXPECT_FALSE(target.Contains(3, 3));
  EXPECT_TRUE(target.Contains(5, 5));

  TRegion self(TRect{0, 0, 4, 4});  // the target may be the first operand
  CombineRegions(self, self, b, TCombineMode::Xor);
  EXPECT_EQ(self, target);
  EXPECT_THROW(CombineRegions(self, a, b, TCombineMode(4)), std::invalid_argument);
}

TEST(Region, CopiesAndMovesOwnTheirRectangles) {
  TRegion a = TRegion::FromRects(std::vector<TRect>{{0, 0, 2, 2}, {3, 3, 5, 5}});
  TRegion copy = a;
  TRegion moved = std::move(a);
  EXPECT_EQ(copy, moved);
  EXPECT_TRUE(a.Empty());  // NOLINT(bugprone-use-after-move): a moved-from region is empty
  copy = TRegion(TRect{0, 0, 1, 1});
  EXPECT_EQ(moved.Area(), 8);
}

}  // namespace
