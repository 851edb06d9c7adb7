#include <gtest/gtest.h>

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

// Each family is drawn by one unit; the registry says which for every number.
TEST(Effects, EveryEffectBelongsToTheFamilyThatDrawsIt) {
  const struct {
    TEffectFamily family;
    size_t count;
    std::vector<int32_t> some;  // first and last members and ones between other families' numbers
  } families[] = {
      {TEffectFamily::Rect, 57, {4, 16, 21, 33, 38, 60, 130, 137}},
      {TEffectFamily::Unroll, 8, {17, 20, 34, 37}},
      {TEffectFamily::Curved, 10, {61, 62, 72, 73, 83, 88}},
      {TEffectFamily::Bars, 42, {63, 68, 71, 74, 82, 89, 112}},
      {TEffectFamily::Grain, 5, {125, 129}},
      {TEffectFamily::Blinds, 14, {120, 138, 148, 152, 164}},
      {TEffectFamily::Shapes, 24, {113, 119, 149, 151, 153, 163, 165, 167}},
      {TEffectFamily::Pixel, 9, {1, 2, 3, 121, 124, 168, 169}},
  };
  size_t total = 0;
  for (const auto& f : families) {
    size_t count = 0;
    for (int32_t n = 1; n <= kEffectCount; ++n) count += Effects[n].Family == f.family;
    EXPECT_EQ(count, f.count) << int(f.family);
    for (int32_t n : f.some) EXPECT_EQ(Effects[n].Family, f.family) << n;
    total += count;
  }
  EXPECT_EQ(total, size_t(kEffectCount));  // no number outside the eight
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

}  // namespace
