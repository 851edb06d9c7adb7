// The file names Windows will not keep as given, as a rule any system can
// check (the packaged files' names come from strangers, and what Windows
// would do with them is decided from the name alone):
// - device names: CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0 to COM9 and
//   LPT0 to LPT9 (also with the superscript digits 1, 2 and 3), in any case,
//   also with an extension ("con.txt", "NUL.tar.gz") or with blanks before
//   it ("CON .txt"): the name opens the device, not a file;
// - a name ending in a dot or a blank: Windows strips them, so "a.jpg."
//   would land on "a.jpg";
// - control characters and < > " | ? *, which no Windows file name holds.
// Header-only: the Windows file calls below the portable layers apply it.
#pragma once

#include <string_view>

namespace kx {

inline bool WindowsRefusesFileName(std::string_view name) {
  if (name.empty()) return false;
  if (name.back() == '.' || name.back() == ' ') return true;
  for (const char c : name)
    if (static_cast<unsigned char>(c) < 0x20 || std::string_view("<>\"|?*").find(c) != std::string_view::npos)
      return true;
  std::string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
  const auto is = [&](std::string_view prefix, size_t size) {
    if (base.size() != size) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
      if (upper(base[i]) != prefix[i]) return false;
    return true;
  };
  static constexpr std::string_view kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (std::string_view device : kDevices)
    if (is(device, device.size())) return true;
  // COM and LPT with one digit, or with a superscript 1, 2 or 3 (in UTF-8
  // C2 B9, C2 B2, C2 B3).
  for (std::string_view port : {std::string_view("COM"), std::string_view("LPT")}) {
    if (is(port, 4) && base[3] >= '0' && base[3] <= '9') return true;
    if (is(port, 5) && base[3] == '\xC2' && (base[4] == '\xB9' || base[4] == '\xB2' || base[4] == '\xB3'))
      return true;
  }
  return false;
}

}  // namespace kx
