#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
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

using TMask = std::vector<std::string>;

// Round rectangles and ellipses leave out the rectangle's right column and
// bottom row; their corner arcs are limited to the box that remains.
TEST(Region, EllipseAndRoundRectExactMasks) {
  EXPECT_EQ(Picture(EllipseRegion(0, 0, 8, 8), {0, 0, 8, 8}), (TMask{
                                                                 "..###...",
                                                                 ".#####..",
                                                                 "#######.",
                                                                 "#######.",
                                                                 "#######.",
                                                                 ".#####..",
                                                                 "..###...",
                                                                 "........",
                                                             }));
  EXPECT_EQ(Picture(RoundRectRegion(0, 0, 16, 12, 9, 9), {0, 0, 16, 12}), (TMask{
                                                                              "...#########....",
                                                                              ".#############..",
                                                                              ".#############..",
                                                                              "###############.",
                                                                              "###############.",
                                                                              "###############.",
                                                                              "###############.",
                                                                              "###############.",
                                                                              ".#############..",
                                                                              ".#############..",
                                                                              "...#########....",
                                                                              "................",
                                                                          }));
}

// Hand-worked from the rule: the ellipse 8 x 6 has arcs of semi-axes 3.5 and
// 2.5 centred at (3.5, 2.5); the top row's centre, 2 above it, lies within
// 2.1 of it horizontally, which leaves out one column at each end. The round
// rectangle 10 x 6 with corners 4 x 4 has arcs of radius 2.5: at the top row
// they lie 1 inside the sides, one column.
TEST(Region, SmallEllipseAndRoundRect) {
  EXPECT_EQ(Picture(EllipseRegion(0, 0, 8, 6), {0, 0, 8, 6}), (TMask{
                                                                 ".#####..",
                                                                 "#######.",
                                                                 "#######.",
                                                                 "#######.",
                                                                 ".#####..",
                                                                 "........",
                                                             }));
  EXPECT_EQ(Picture(RoundRectRegion(0, 0, 10, 6, 4, 4), {0, 0, 10, 6}), (TMask{
                                                                           ".#######..",
                                                                           "#########.",
                                                                           "#########.",
                                                                           "#########.",
                                                                           ".#######..",
                                                                           "..........",
                                                                       }));
}

TEST(Region, RoundRectCornerRules) {
  // Corners put in order first.
  EXPECT_EQ(RoundRectRegion(16, 12, 0, 0, 9, 9), RoundRectRegion(0, 0, 16, 12, 9, 9));
  EXPECT_EQ(EllipseRegion(8, 8, 0, 0), EllipseRegion(0, 0, 8, 8));
  // A corner as large as the remaining box or larger gives the ellipse.
  for (int32_t corner : {7, 8, 16, 1000000})
    EXPECT_EQ(RoundRectRegion(0, 0, 8, 8, corner, corner), EllipseRegion(0, 0, 8, 8)) << corner;
  EXPECT_EQ(RoundRectRegion(3, 2, 40, 9, 80, 80), EllipseRegion(3, 2, 40, 9));
  // The limit applies to each axis on its own: only the width reaches it here.
  EXPECT_EQ(RoundRectRegion(0, 0, 8, 20, 30, 7), RoundRectRegion(0, 0, 8, 20, 7, 7));
  // A corner of 2 or less in either direction gives the plain rectangle
  // without its right column and bottom row; so does an ellipse that small.
  const TRegion plain(TRect{1, 2, 9, 7});
  for (auto [ew, eh] : {std::pair{2, 2}, {2, 50}, {50, 2}, {0, 9}, {-4, -4}, {1, 1}})
    EXPECT_EQ(RoundRectRegion(1, 2, 10, 8, ew, eh), plain) << ew << " x " << eh;
  EXPECT_EQ(EllipseRegion(0, 0, 3, 3), TRegion(TRect{0, 0, 2, 2}));
  EXPECT_EQ(EllipseRegion(0, 0, 2, 2), TRegion(TRect{0, 0, 1, 1}));
  // A rectangle one pixel wide or high leaves nothing.
  EXPECT_TRUE(EllipseRegion(0, 0, 1, 1).Empty());
  EXPECT_TRUE(RoundRectRegion(0, 0, 10, 1, 4, 4).Empty());
  EXPECT_TRUE(EllipseRegion(0, 0, 0, 5).Empty());
  EXPECT_TRUE(EllipseRegion(INT32_MIN, INT32_MIN, INT32_MIN, 5).Empty());
  // Far-away outlines are cut off instead of scanned.
  const TRegion huge = EllipseRegion(INT32_MIN, -2000000000, INT32_MAX, 2000000000);
  EXPECT_TRUE(huge.Contains(0, 0));
  EXPECT_TRUE(huge.Contains(-60000, 90000));
  EXPECT_EQ(RoundRectRegion(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN),
            TRegion(TRect{INT32_MIN, INT32_MIN, INT32_MAX - 1, INT32_MAX - 1}));
}

// Shapes of many sizes: inside the box without its right column and bottom
// row, symmetric left and right, top and bottom, and across the diagonal
// (rows and columns treated alike), every row one run, rows widening towards
// the middle, and the middle rows reaching the box's sides.
TEST(Region, RoundRectsOfEverySizeAreConvexAndSymmetric) {
  for (int32_t w = 2; w <= 24; ++w)
    for (int32_t h = 2; h <= 24; h += 3)
      for (int32_t corner : {3, 5, 8, 13, 100}) {
        const TRegion r = RoundRectRegion(0, 0, w, h, corner, corner + (w % 3));
        const TRegion turned = RoundRectRegion(0, 0, h, w, corner + (w % 3), corner);
        const int32_t bw = w - 1, bh = h - 1;
        SCOPED_TRACE(testing::Message() << w << " x " << h << " corner " << corner);
        ASSERT_FALSE(r.Empty());
        const TRect bounds = r.Bounds();
        EXPECT_EQ(bounds.Left, 0);
        EXPECT_EQ(bounds.Right, bw);
        EXPECT_GE(bounds.Top, 0);
        EXPECT_LE(bounds.Bottom, bh);
        int32_t previous = 0;
        for (int32_t y = 0; y < bh; ++y) {
          int32_t count = 0;
          for (int32_t x = 0; x < bw; ++x) {
            EXPECT_EQ(r.Contains(x, y), r.Contains(bw - 1 - x, y));
            EXPECT_EQ(r.Contains(x, y), r.Contains(x, bh - 1 - y));
            EXPECT_EQ(r.Contains(x, y), turned.Contains(y, x));
            count += r.Contains(x, y);
          }
          const int32_t first = (bw - count) / 2;
          for (int32_t x = first; x < first + count; ++x) EXPECT_TRUE(r.Contains(x, y)) << x << "," << y;
          if (2 * y < bh) {
            EXPECT_GE(count, previous) << y;
          }
          previous = count;
        }
        EXPECT_TRUE(r.Contains(0, bh / 2) && r.Contains(bw - 1, bh / 2));
      }
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
  // Rows of 8, 7, ..., 1 pixel corners inside the triangle; the corners on
  // its long edge lie on its right side and are out.
  EXPECT_EQ(a.Bounds(), (TRect{0, 0, 8, 8}));
  EXPECT_EQ(a.Area(), 36);
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
