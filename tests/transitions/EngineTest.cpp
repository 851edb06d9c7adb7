#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <stdexcept>
#include <vector>

#include "raster/uBlit.h"
#include "transitions/PSEffect.h"

using namespace kx;

namespace {

TEST(Effects, RegistryCoversOneTo169) {
  EXPECT_EQ(Effects[1].Name, "Fade");
  EXPECT_EQ(Effects[57].Name, "Reveal in to centre");
  EXPECT_EQ(Effects[136].Name, "Push and sqeeze down");
  EXPECT_EQ(Effects[169].Name, "Random Bars Vertical");
  std::set<std::string_view> names;
  for (int32_t n = 1; n <= kEffectCount; ++n) {
    EXPECT_NE(Effects[n].Proc, nullptr) << n;
    names.insert(Effects[n].Name);
  }
  EXPECT_EQ(names.size(), 169u);
  EXPECT_THROW(Effects[0], std::out_of_range);
  EXPECT_THROW(Effects[170], std::out_of_range);
  EXPECT_FALSE(IsEffectNumber(0));
  EXPECT_TRUE(IsEffectNumber(169));
}

// The families still to come show effect 1 meanwhile; this list says exactly
// which numbers those are.
TEST(Effects, EveryNumberDrawsAnEffectOfItsOwn) {
  for (int32_t n = 2; n <= kEffectCount; ++n) EXPECT_NE(Effects[n].Proc, Effects[1].Proc) << n;
}

TEST(EffectExtents, LargerSideFirst) {
  const struct {
    int32_t w, h, p;
    TPoint want;
  } cases[] = {
      {1024, 768, 33, {338, 254}}, {768, 1024, 33, {254, 338}}, {1024, 768, 0, {0, 0}},
      {1024, 768, 100, {1024, 768}}, {7, 5, 50, {4, 3}},        {5, 9, 50, {3, 5}},
      {0, 0, 50, {0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(EffectExtents(c.w, c.h, c.p), c.want) << c.w << "x" << c.h << " " << c.p;
}

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
