#include "ui/uAnsiText.h"

namespace kx {
namespace {

// Windows-1252 bytes 0x80 to 0x9F; the five bytes the code page leaves
// undefined keep their own value, as Windows maps them.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

void AppendCodePoint(std::string& out, uint32_t cp) {
  if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = 0xFFFD;
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xF0 | (cp >> 18));
    out += char(0x80 | ((cp >> 12) & 0x3F));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

size_t Utf8SequenceLength(std::string_view s) {
  if (s.empty()) return 0;
  const unsigned char c = static_cast<unsigned char>(s[0]);
  if (c < 0x80) return 1;
  size_t n;
  uint32_t cp;
  if (c >= 0xC2 && c <= 0xDF) n = 2, cp = c & 0x1F;
  else if (c >= 0xE0 && c <= 0xEF) n = 3, cp = c & 0x0F;
  else if (c >= 0xF0 && c <= 0xF4) n = 4, cp = c & 0x07;
  else return 0;
  if (s.size() < n) return 0;
  for (size_t i = 1; i < n; ++i) {
    const unsigned char d = static_cast<unsigned char>(s[i]);
    if (!IsContinuation(d)) return 0;
    cp = (cp << 6) | (d & 0x3F);
  }
  const bool overlong = (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000);
  if (overlong || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return 0;
  return n;
}

std::string DecodeAnsiText(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      // ASCII runs in one piece: definitions are mostly ASCII and can be long.
      size_t end = i + 1;
      while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) < 0x80) ++end;
      out.append(bytes.substr(i, end - i));
      i = end;
      continue;
    }
    if (const size_t n = Utf8SequenceLength(bytes.substr(i))) {
      out.append(bytes.substr(i, n));
      i += n;
      continue;
    }
    AppendCodePoint(out, c < 0xA0 ? kCp1252High[c - 0x80] : c);
    ++i;
  }
  return out;
}

}  // namespace kx
