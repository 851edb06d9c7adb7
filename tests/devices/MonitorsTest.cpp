#include <gtest/gtest.h>

#include "devices/x11/uX11Monitors.h"

using namespace kx;

namespace {

// The monitor list as the show uses it: real monitors only, the primary first.
TEST(OrderMonitors, DropsSpansAndRepeatsAndPutsThePrimaryFirst) {
  const TRect a{0, 0, 800, 600}, b{800, 0, 1440, 480}, whole{0, 0, 1440, 600};
  struct TCase {
    const char* name;
    std::vector<TRect> raw;
    int primary;
    std::vector<TRect> expected;
  };
  const TCase cases[] = {
      {"one", {whole}, -1, {whole}},
      {"output split into two", {a, b, whole}, 0, {a, b}},
      {"primary second", {a, b}, 1, {b, a}},
      {"repeated", {a, a, b}, -1, {a, b}},
      {"mirrored outputs", {a, a}, 0, {a}},
      {"empty and inverted rectangles", {TRect{5, 5, 5, 9}, a, TRect{10, 10, 0, 0}}, -1, {a}},
      {"nothing", {}, -1, {}},
  };
  for (const TCase& c : cases) EXPECT_EQ(OrderMonitors(c.raw, c.primary), c.expected) << c.name;
}

}  // namespace
