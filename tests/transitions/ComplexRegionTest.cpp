#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "transitions/uComplexRegion.h"

using namespace kx;

namespace {

TEST(TComplexRegion, NoRectangleGivesNoRegion) {
  TComplexRegion list;
  EXPECT_EQ(list.Data(), nullptr);
  EXPECT_EQ(list.Bounds(), TComplexRegion::kEmptyBounds);
  EXPECT_FALSE(list.CreateRegion().has_value());

  list.AddRect(5, 5, 5, 9);  // empty and inverted rectangles are stored as given
  list.AddRect(8, 2, 3, 4);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Bounds(), (TRect{5, 2, 5, 9}));
  const std::optional<TRegion> region = list.CreateRegion();
  ASSERT_TRUE(region.has_value());
  EXPECT_TRUE(region->Empty());

  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), 0);
  EXPECT_FALSE(list.CreateRegion().has_value());
}

TEST(TComplexRegion, GrowsBy500AndKeepsWhatItHad) {
  TComplexRegion list;
  for (int32_t i = 0; i < 500; ++i) list.AddRect(i, 0, i + 1, 1 + i % 3);
  EXPECT_EQ(list.Capacity(), 500);
  const std::byte* before = list.Data();
  std::vector<std::byte> first500(before + 32, before + 32 + 16 * 500);
  list.AddRect(-7, -3, -2, 0);
  EXPECT_EQ(list.Capacity(), 1000);
  EXPECT_EQ(list.Count(), 501);
  EXPECT_EQ(std::memcmp(list.Data() + 32, first500.data(), first500.size()), 0);
  EXPECT_EQ(list.Bounds(), (TRect{-7, -3, 500, 3}));

  const std::optional<TRegion> region = list.CreateRegion();
  ASSERT_TRUE(region.has_value());
  EXPECT_EQ(region->Area(), 5 * 3 + 167 * 1 + 167 * 2 + 166 * 3);
  EXPECT_TRUE(region->Contains(-7, -3));
  EXPECT_TRUE(region->Contains(499, 1));  // 499 % 3 = 1: two rows high
  EXPECT_FALSE(region->Contains(499, 2));
  // The header describes the list.
  int32_t header[8];
  std::memcpy(header, list.Data(), sizeof header);
  EXPECT_EQ(header[0], 32);
  EXPECT_EQ(header[1], 1);
  EXPECT_EQ(header[2], 501);
  EXPECT_EQ(header[3], 16);
  EXPECT_EQ((TRect{header[4], header[5], header[6], header[7]}), list.Bounds());
}

TEST(PolygonRegion, PairsOfCoordinates) {
  const TRegion a = PolygonRegion({0, 0, 8, 0, 0, 8});
  const TRegion b = PolygonRegion({0, 8, 8, 0, 0, 0, 99});  // other direction; the unpaired 99 is ignored
  EXPECT_EQ(a, b);
  // Rows of 8, 7, ..., 1 pixels: each row's corners left of the long edge.
  // (Sampling at the pixel centres gave 7, 6, ..., 1, that is 28.)
  EXPECT_EQ(a.Area(), 36);
  const TRegion diamond = PolygonRegion({4, 0, 8, 4, 4, 8, 0, 4});
  EXPECT_TRUE(diamond.Contains(4, 4));
  EXPECT_FALSE(diamond.Contains(0, 0));
}

// The pixels of the region within w x h, one string per row: '#' covered.
std::vector<std::string> Picture(const TRegion& r, int32_t w, int32_t h) {
  std::vector<std::string> rows;
  for (int32_t y = 0; y < h; ++y) {
    std::string row;
    for (int32_t x = 0; x < w; ++x) row += r.Contains(x, y) ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

// Each pixel is sampled at its corner (x, y); a corner exactly on the outline
// is inside on a left or top edge and outside on a right or bottom one.
TEST(PolygonRegion, SamplesEachPixelAtItsCorner) {
  const struct {
    const char* what;
    std::vector<int32_t> coords;
    std::vector<std::string> want;
  } cases[] = {
      {"a rectangle covers its own pixels, clockwise",
       {1, 1, 5, 1, 5, 4, 1, 4},
       {"......", ".####.", ".####.", ".####.", "......"}},
      {"and anticlockwise",
       {1, 1, 1, 4, 5, 4, 5, 1},
       {"......", ".####.", ".####.", ".####.", "......"}},
      {"a right triangle: the corners on the long edge are on its right side",
       {0, 0, 4, 0, 0, 4},
       {"####.", "###..", "##...", "#....", "....."}},
      {"a horizontal top edge on row 1 is in, the bottom edge on row 4 out",
       {0, 1, 6, 1, 3, 4},
       {"......", "######", ".####.", "..##..", "......"}},
      {"a tip on a corner lies on the right edge too, so it is out",
       {3, 1, 6, 4, 0, 4},
       {"......", "......", "..##..", ".####.", "......"}},
      {"a notch in the right edge: its tip at (2, 2) is out",
       {0, 0, 4, 0, 2, 2, 4, 4, 0, 4},
       {"####", "###.", "##..", "###.", "...."}},
      {"a notch in the left edge: its tip at (2, 2) is in",
       {0, 0, 4, 0, 4, 4, 0, 4, 2, 2},
       {"####", ".###", "..##", ".###", "...."}},
      {"a tip on the left side: row 0 is empty; (1, 3) is in, though its centre (1.5, 3.5) lies beyond the edge",
       {0, 0, 4, 2, 0, 4},
       {"....", "##..", "####", "##..", "...."}},
      {"two overlapping squares in one stroke, same direction: the overlap is wound twice and in",
       {0, 0, 4, 0, 4, 4, 0, 4, 0, 0, 2, 2, 6, 2, 6, 6, 2, 6, 2, 2},
       {"####..", "####..", "######", "######", "..####", "..####", "......"}},
      {"the second square the other way round: the overlap is wound zero times and out",
       {0, 0, 4, 0, 4, 4, 0, 4, 0, 0, 2, 2, 2, 6, 6, 6, 6, 2, 2, 2},
       {"####..", "####..", "##..##", "##..##", "..####", "..####", "......"}},
  };
  for (const auto& c : cases) {
    const int32_t w = int32_t(c.want[0].size()), h = int32_t(c.want.size());
    const TRegion r = PolygonRegion(std::span<const int32_t>(c.coords));
    EXPECT_EQ(Picture(r, w, h), c.want) << c.what;
    const TRect b = r.Bounds();
    EXPECT_TRUE(b.Left >= 0 && b.Top >= 0 && b.Right <= w && b.Bottom <= h) << c.what;
  }
}

// Pixels where sampling at the corner and at the centre disagree, at the
// places the region effects meet them.
TEST(PolygonRegion, CornerNotCentreOnSlantedEdges) {
  // Effect 153 at P = 50 on 64 x 48: the long edge passes y = 47 at x = 2 2/3,
  // so the row has the corners 0, 1 and 2 (the centre of 1 lies below the edge).
  const TRegion v = PolygonRegion({0, 0, 64, 24, 0, 48});
  EXPECT_TRUE(v.Contains(1, 47));
  EXPECT_TRUE(v.Contains(2, 47));
  EXPECT_FALSE(v.Contains(3, 47));
  // Row 0 holds only the corner (0, 0), on the upper edge, which is a right
  // side there; row 24 is covered to the tip at x = 64, row 23 up to x = 61 1/3.
  EXPECT_EQ(v.Bounds(), (TRect{0, 1, 64, 48}));
  EXPECT_TRUE(v.Contains(63, 24));
  EXPECT_TRUE(v.Contains(61, 23));
  EXPECT_FALSE(v.Contains(62, 23));

  // Effect 163 at P = 25 on 64 x 48: the band's left edge from (28, 40) down to
  // (16, 44) passes y = 43 at x = 19. The corner of (17, 43) lies left of it,
  // out; its centre (17.5, 43.5) lies exactly on the edge.
  const TRegion band = PolygonRegion({28, 40, 16, 44, 40, 44, 40, 40});
  EXPECT_FALSE(band.Contains(17, 43));
  EXPECT_FALSE(band.Contains(18, 43));
  EXPECT_TRUE(band.Contains(19, 43));
  EXPECT_FALSE(band.Contains(19, 44));  // the bottom edge is out
}

}  // namespace
