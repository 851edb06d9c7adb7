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
