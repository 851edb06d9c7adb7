#include "tools/uDesktopEntry.h"

#include <cstdint>

namespace kxtool {
namespace {

// The length of the valid UTF-8 sequence at the start of s (no overlong
// forms, no surrogates, nothing beyond U+10FFFF); 0 when there is none.
size_t Utf8Length(std::string_view s) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(s[i]); };
  const uint8_t b = byte(0);
  if (b < 0x80) return 1;
  size_t n = 0;
  uint32_t cp = 0;
  if (b >= 0xC2 && b <= 0xDF) n = 2, cp = b & 0x1F;
  else if (b >= 0xE0 && b <= 0xEF) n = 3, cp = b & 0x0F;
  else if (b >= 0xF0 && b <= 0xF4) n = 4, cp = b & 0x07;
  else return 0;
  if (s.size() < n) return 0;
  for (size_t i = 1; i < n; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    cp = cp << 6 | (byte(i) & 0x3F);
  }
  if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return n;
}

// A value of type string: the escapes of the entry format for the
// characters a line cannot hold as they are.
std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

}  // namespace

std::string DesktopFileName(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "kxcsaver-";
  for (char c : name) {
    const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                      c == '.';
    if (keep) {
      out += c;
    } else {
      const auto b = static_cast<uint8_t>(c);
      out += '_';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
  return out;
}

std::string MenuText(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    const auto b = static_cast<uint8_t>(text[0]);
    size_t n = Utf8Length(text);
    if (b < 0x20 || b == 0x7F) {
      out += ' ';
      n = 1;
    } else if (n > 0) {
      out.append(text.substr(0, n));
    } else if (b < 0xA0) {
      out += "\xEF\xBF\xBD";  // U+FFFD
      n = 1;
    } else {
      out += char(0xC0 | b >> 6);
      out += char(0x80 | (b & 0x3F));
      n = 1;
    }
    text.remove_prefix(n);
  }
  return out;
}

std::string ExecArgument(std::string_view argument) {
  bool reserved = argument.empty();
  for (char c : argument)
    if (std::string_view(" \t\n\"'\\><~|&;$*?#()`").find(c) != std::string_view::npos) reserved = true;
  std::string out = reserved ? "\"" : "";
  for (char c : argument) {
    if (reserved && (c == '"' || c == '`' || c == '$' || c == '\\')) out += '\\';
    out += c == '%' ? std::string("%%") : std::string(1, c);
  }
  return reserved ? out + "\"" : out;
}

std::string DesktopEntry(std::string_view product, const std::string& installed, const std::string& icon) {
  const std::string name = MenuText(product);
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=" + Escaped(name) + " settings\n"
         "Comment=The pictures and settings of " + Escaped(name) + "\n"
         "Keywords=screensaver;slideshow;\n"
         "TryExec=" + Escaped(MenuText(installed)) + "\n"
         "Exec=" + Escaped(ExecArgument(installed) + " /C") + "\n"
         "Icon=" + (icon.empty() ? std::string("preferences-desktop-screensaver") : Escaped(icon)) + "\n"
         "Terminal=false\n"
         "Categories=Settings;DesktopSettings;\n";
}

}  // namespace kxtool
