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

TEST(WindowsFileNameKey, NamesWindowsTakesForTheSameFileShareTheirKey) {
  const std::pair<std::string_view, std::string_view> same[] = {
      {"kxc.res", "KXC.res"}, {"Lake.JPG", "lake.jpg"}, {"a-b_c 1.kxp", "A-B_C 1.KXP"},
      // Latin-1, Latin Extended-A, Greek and Cyrillic letters in UTF-8.
      {"J\xC3\xB6rg.jpg", "J\xC3\x96RG.JPG"}, {"\xC3\xBF", "\xC5\xB8"}, {"\xC5\x82\xC3\xB3""d\xC5\xBA", "\xC5\x81\xC3\x93""D\xC5\xB9"},
      {"\xCE\xB1\xCE\xB2", "\xCE\x91\xCE\x92"}, {"\xD0\xB4\xD0\xBE\xD0\xBC", "\xD0\x94\xD0\x9E\xD0\x9C"},
      {"\xD1\x91", "\xD0\x81"},
  };
  for (const auto& [a, b] : same) EXPECT_EQ(WindowsFileNameKey(a), WindowsFileNameKey(b)) << a << " " << b;
  const std::pair<std::string_view, std::string_view> different[] = {
      {"a.jpg", "a.jpeg"}, {"\xC3\xB7", "\xC3\x97"},  // division and multiplication signs are no letters
      {"a\xE7\x94\xA8", "A\xE7\x94\xA9"}, {"lake.jpg", "lake.jpg "},
  };
  for (const auto& [a, b] : different) EXPECT_NE(WindowsFileNameKey(a), WindowsFileNameKey(b)) << a << " " << b;
  // Bytes that are not UTF-8 pass through; the key of an upper-case ASCII name is the name.
  EXPECT_EQ(WindowsFileNameKey("a\xFF\xC3"), "A\xFF\xC3");
  EXPECT_EQ(WindowsFileNameKey("KXC.RES"), "KXC.RES");
}
