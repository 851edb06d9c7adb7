#include <gtest/gtest.h>

#include <cstring>
#include <optional>
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
  EXPECT_EQ(a.Area(), 28);
  const TRegion diamond = PolygonRegion({4, 0, 8, 4, 4, 8, 0, 4});
  EXPECT_TRUE(diamond.Contains(4, 4));
  EXPECT_FALSE(diamond.Contains(0, 0));
}

}  // namespace
