#include <gtest/gtest.h>

#include "startup/uHostModes.h"
#include "startup/uStartup.h"

#include <cstdlib>

using namespace kx;

namespace {

TEST(ParseWindowId, DecimalOrHexadecimalWithinThirtyTwoBits) {
  const std::pair<const char*, std::optional<uint64_t>> cases[] = {
      {"123", 123},           {"0x2a00007", 0x2a00007}, {"0X2A00007", 0x2a00007}, {"4294967295", 0xFFFFFFFFu},
      {"0", std::nullopt},    {"0x0", std::nullopt},    {"-5", std::nullopt},      {"4294967296", std::nullopt},
      {"", std::nullopt},     {"0x", std::nullopt},     {"12a", std::nullopt},     {"garbage", std::nullopt},
      {" 12", std::nullopt},  {"99999999999", std::nullopt},
  };
  for (const auto& [text, id] : cases) EXPECT_EQ(ParseWindowId(text), id) << text;
}

// The daemon conventions beside the mode words: which window a show runs in,
// and what is refused.
TEST(ReadHostRequest, ArgumentsAndEnvironment) {
  struct TCase {
    std::vector<std::string> args;
    const char* environment;
    bool host;
    uint64_t window;
    bool error, help;
  };
  const TCase cases[] = {
      {{}, "0x2a00007", true, 0x2a00007, false, false},
      {{}, "41943047", true, 41943047, false, false},
      {{}, nullptr, false, 0, false, false},  // the configuration window
      {{}, "garbage", false, 0, true, false},
      {{"-root"}, nullptr, true, 0, false, false},
      {{"--root"}, nullptr, true, 0, false, false},
      {{"-root"}, "0x400001", true, 0x400001, false, false},  // the daemon's own window
      {{"--window-id", "0x2a00007"}, nullptr, true, 0x2a00007, false, false},
      {{"-window-id", "77"}, "0x400001", true, 77, false, false},
      {{"-window-id"}, nullptr, false, 0, true, false},
      {{"-window-id", "0"}, nullptr, false, 0, true, false},
      {{"-window-id", "-3"}, nullptr, false, 0, true, false},
      {{"-h"}, nullptr, false, 0, false, true},
      {{"--help"}, "0x400001", false, 0, false, true},
      {{"-x"}, nullptr, false, 0, false, false},
  };
  for (const TCase& c : cases) {
    const THostRequest r = ReadHostRequest(c.args, c.environment);
    const std::string name = (c.args.empty() ? std::string("(none)") : c.args[0]) + " " +
                             (c.environment ? c.environment : "(unset)");
    EXPECT_EQ(r.Host, c.host) << name;
    EXPECT_EQ(r.Window, c.window) << name;
    EXPECT_EQ(!r.Error.empty(), c.error) << name;
    EXPECT_EQ(r.Help, c.help) << name;
  }
}

}  // namespace

namespace {

// A mode word wins over the daemon's variable; without one the variable
// makes a host-mode run (here refused for its bad id, before anything runs).
TEST(RunPlayer, ModeWordsWinOverTheDaemonsWindow) {
  setenv("XSCREENSAVER_WINDOW", "garbage", 1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunPlayer({"/a", "0x2a00007"}, "/nonexistent/Lake.scr"), 0);
  EXPECT_EQ(RunPlayer({}, "/nonexistent/Lake.scr"), 1);
  EXPECT_EQ(RunPlayer({"-window-id"}, "/nonexistent/Lake.scr"), 1);
  EXPECT_EQ(RunPlayer({"/p", "x"}, "/nonexistent/Lake.scr"), 1);
  const std::string err = testing::internal::GetCapturedStderr();
  unsetenv("XSCREENSAVER_WINDOW");
  EXPECT_NE(err.find("XSCREENSAVER_WINDOW is not a window id: garbage"), std::string::npos) << err;
  EXPECT_NE(err.find("-window-id needs a window id"), std::string::npos) << err;
}

}  // namespace
