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
// WindowsFileNameKey is the other half of the rule: which names Windows takes
// for the same file.
#pragma once

#include <cstdint>
#include <string>
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

// The form two names share when Windows takes them for the same file: its
// file systems compare names without regard to case ("kxc.res" opens
// "KXC.res"). Letters are upper-cased as the file system's case table does
// for the scripts a package's names come in: ASCII, Latin-1, Latin
// Extended-A, Greek and Cyrillic; other characters and bytes that are not
// UTF-8 stay as they are.
inline std::string WindowsFileNameKey(std::string_view name) {
  std::string key;
  key.reserve(name.size());
  const auto put = [&](uint32_t c) {
    if (c < 0x80) {
      key += char(c);
    } else if (c < 0x800) {
      key += char(0xC0 | (c >> 6));
      key += char(0x80 | (c & 0x3F));
    } else {
      key += char(0xE0 | (c >> 12));
      key += char(0x80 | ((c >> 6) & 0x3F));
      key += char(0x80 | (c & 0x3F));
    }
  };
  const auto upper = [](uint32_t c) -> uint32_t {
    if (c >= 'a' && c <= 'z') return c - 0x20;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
    if (c == 0xFF) return 0x178;
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c & ~1u;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1u) ? c : c - 1;
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return c - 0x20;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
  };
  for (size_t i = 0; i < name.size();) {
    const auto b = static_cast<unsigned char>(name[i]);
    // Two- and three-byte sequences hold every letter folded here.
    if (b >= 0xC2 && b <= 0xDF && i + 1 < name.size() && (static_cast<unsigned char>(name[i + 1]) & 0xC0) == 0x80) {
      put(upper(uint32_t(b & 0x1F) << 6 | (static_cast<unsigned char>(name[i + 1]) & 0x3F)));
      i += 2;
    } else if (b < 0x80) {
      put(upper(b));
      ++i;
    } else {
      key += name[i++];
    }
  }
  return key;
}

}  // namespace kx
