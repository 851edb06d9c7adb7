#include <gtest/gtest.h>

#include <string>

#include "devices/uSharedFolder.h"

using namespace kx;

TEST(SharedFolder, WindowsAlgorithmFromTheRegistryValueOrTheProgramFolder) {
  struct Case {
    std::optional<std::string> value;
    const char* program;
    const char* want;
    const char* shown;  // null: no message
  };
  const Case cases[] = {
      {"C:\\Program Files", "C:\\x\\Lake.scr", "C:\\Program Files\\Ardmont\\Common\\", nullptr},
      {"C:\\Program Files\\", "C:\\x\\Lake.scr", "C:\\Program Files\\Ardmont\\Common\\", nullptr},
      {std::nullopt, "D:\\Apps\\Pellwick\\Lake.scr", "D:\\Apps\\Ardmont\\Common\\", "D:\\Apps\\"},
      {"", "D:\\PELLWICK\\a\\Pellwick\\Lake.scr", "D:\\a\\Pellwick\\Ardmont\\Common\\", "D:\\a\\Pellwick\\"},
      {std::nullopt, "Lake.scr", "Ardmont\\Common\\", ""},
  };
  for (const Case& c : cases) {
    std::optional<std::string> shown;
    const std::string got =
        SharedFolderFromProgramFiles(c.value, c.program, [&](const std::string& text) { shown = text; });
    EXPECT_EQ(got, c.want) << c.program;
    EXPECT_EQ(shown.has_value(), c.shown != nullptr) << c.program;
    if (c.shown && shown) EXPECT_EQ(*shown, c.shown);
  }
}
