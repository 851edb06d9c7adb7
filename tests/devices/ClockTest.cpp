#include <gtest/gtest.h>

#include "devices/headless/uVirtualClock.h"

using namespace kx;

TEST(TVirtualClock, MovesOnlyBySleepsAndAdvancesAndWraps) {
  TVirtualClock clock;
  EXPECT_EQ(clock.Tick(), 0u);
  clock.Sleep(33);
  clock.Advance(30);
  EXPECT_EQ(clock.Tick(), 63u);
  TVirtualClock late(0xFFFFFFF0u);
  late.Sleep(0x20);
  EXPECT_EQ(late.Tick(), 0x10u);  // a 32-bit tick wraps like the system's
}
