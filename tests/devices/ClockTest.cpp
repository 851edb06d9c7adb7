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

// The virtual clock's local time is the time set plus the whole seconds the
// tick has moved since, wrapping at midnight; until set it starts at midnight.
TEST(TVirtualClock, LocalTimeRunsFromTheTimeSet) {
  TVirtualClock clock(5000);
  EXPECT_EQ(clock.LocalTime(), (TLocalTime{0, 0, 0}));
  clock.Advance(61999);
  EXPECT_EQ(clock.LocalTime(), (TLocalTime{0, 1, 1}));
  clock.SetLocalTime({10, 8, 30});
  EXPECT_EQ(clock.LocalTime(), (TLocalTime{10, 8, 30}));
  clock.Advance(999);
  EXPECT_EQ(clock.LocalTime(), (TLocalTime{10, 8, 30}));
  clock.Advance(1);
  EXPECT_EQ(clock.LocalTime(), (TLocalTime{10, 8, 31}));
  clock.SetLocalTime({23, 59, 59});
  clock.Sleep(1500);
  EXPECT_EQ(clock.LocalTime(), (TLocalTime{0, 0, 0}));
  // Out-of-range fields count modulo a day; the tick may wrap meanwhile.
  TVirtualClock late(0xFFFFFC18u);
  late.SetLocalTime({25, 0, -1});
  EXPECT_EQ(late.LocalTime(), (TLocalTime{0, 59, 59}));
  late.Advance(2000);
  EXPECT_EQ(late.LocalTime(), (TLocalTime{1, 0, 1}));
}

TEST(TSystemClock, LocalTimeIsATimeOfDay) {
  TSystemClock clock;
  const TLocalTime t = clock.LocalTime();
  EXPECT_TRUE(t.Hour >= 0 && t.Hour < 24 && t.Minute >= 0 && t.Minute < 60 && t.Second >= 0 && t.Second < 60);
}
