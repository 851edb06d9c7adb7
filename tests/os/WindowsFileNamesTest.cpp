#include <gtest/gtest.h>

#include <string_view>

#include "os/uWindowsFileNames.h"

using namespace kx;

TEST(WindowsRefusesFileName, DeviceNamesInAnyFormAndNamesWindowsWouldChange) {
  const std::pair<std::string_view, bool> cases[] = {
      // Device names, in any case, with any extension, blanks before it.
      {"CON", true}, {"con", true}, {"Con.txt", true}, {"NUL.kxp", true}, {"nul.tar.gz", true},
      {"PRN", true}, {"aux.jpg", true}, {"CON .txt", true}, {"CONIN$", true}, {"conout$.log", true},
      {"COM1", true}, {"com9.wav", true}, {"LPT1", true}, {"lpt5.bmp", true}, {"COM0", true},
      {"COM\xC2\xB9", true}, {"lpt\xC2\xB2.jpg", true}, {"COM\xC2\xB3", true},
      // Ends Windows strips, which would land on another name.
      {"a.jpg.", true}, {"a.jpg ", true}, {"Lake...", true}, {"name ", true},
      // Characters no Windows name holds.
      {"a?.jpg", true}, {"a*.jpg", true}, {"a<b", true}, {"a>b", true}, {"a|b", true}, {"a\"b", true},
      {"tab\there", true}, {"\x01.jpg", true},
      // Ordinary names, and names that only look like devices.
      {"Lake.jpg", false}, {"CONSOLE.jpg", false}, {"icon.png", false}, {"COM10", false}, {"LPT", false},
      {"COMA.wav", false}, {"COM\xC2\xB4", false}, {"nul_", false}, {"a.con", false}, {"x.NUL", false},
      {".hidden", false}, {" lead.jpg", false}, {"J\xC3\xB6rg.jpg", false}, {"\xE7\x94\xA8\xE6\x88\xB7.kxp", false},
      {"", false},
  };
  for (const auto& [name, refused] : cases) EXPECT_EQ(WindowsRefusesFileName(name), refused) << name;
}
