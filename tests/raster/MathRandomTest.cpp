#include <gtest/gtest.h>

#include "raster/uMath.h"
#include "raster/uRandom.h"

using namespace kx;

namespace {

TEST(MulDiv, RoundsHalvesAwayFromZero) {
  struct TCase {
    int32_t a, b, c, want;
  };
  const TCase cases[] = {
      {10, 3, 4, 8},     {-10, 3, 4, -8},  {10, -3, 4, -8},   {-10, -3, -4, -8}, {5, 1, 2, 3},
      {-5, 1, 2, -3},    {7, 1, 3, 2},     {1024, 33, 100, 338}, {338, 768, 1024, 254}, {256, 50, 100, 128},
      // the 64-bit intermediate product
      {2000000000, 3, 4, 1500000000},
      // degenerate: no divisor, or a quotient beyond 32 bits
      {5, 7, 0, 0},      {2000000000, 2000000000, 1, INT32_MAX}, {-2000000000, 2000000000, 1, INT32_MIN},
  };
  for (const TCase& t : cases) EXPECT_EQ(MulDiv(t.a, t.b, t.c), t.want) << t.a << "*" << t.b << "/" << t.c;
}

TEST(Random, FollowsTheGeneratorFormula) {
  TRandom r(0);
  EXPECT_EQ(r.Random(100), 0u);  // state 1: 100 >> 32
  EXPECT_EQ(r.State(), 1u);
  EXPECT_EQ(r.Random(100), 3u);  // state 134775814: 13477581400 >> 32
  EXPECT_EQ(r.State(), 134775814u);
  const uint32_t before = r.State();
  EXPECT_EQ(r.Random(0), 0u);  // still advances
  EXPECT_EQ(r.State(), before * 134775813u + 1u);

  TRandom top(0xFFFFFFFFu);
  EXPECT_EQ(top.Random(0xFFFFFFFFu), uint32_t((uint64_t(0xFFFFFFFFu * 134775813u + 1u) * 0xFFFFFFFFull) >> 32));

  TRandom local(77);
  uint32_t state = 77;
  for (int i = 0; i < 50; ++i) {
    state = NextRandState(state);
    EXPECT_EQ(local.Random(1000), RandValue(state, 1000));
  }
  EXPECT_EQ(local.State(), state);
}

TEST(Random, RangeStaysWithinEitherOrder) {
  TRandom r;
  r.Seed(0x123456789ABCull);
  EXPECT_EQ(r.State(), 0x56789ABCu);  // the low 32 bits of the counter
  for (int i = 0; i < 200; ++i) {
    const int32_t v = r.RandomRange(5, -3);
    EXPECT_GE(v, -3);
    EXPECT_LT(v, 5);
  }
  EXPECT_EQ(r.RandomRange(4, 4), 4);
  const int32_t wide = r.RandomRange(INT32_MIN, INT32_MAX);
  EXPECT_LT(wide, INT32_MAX);
}

}  // namespace
