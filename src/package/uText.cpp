#include "package/uText.h"

#include "os/uFileAccess.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace kx {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string_view Trim(std::string_view s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

static char Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

std::string UpperCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Upper(c);
  return out;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

std::string ReadFileText(const std::string& path, size_t maxBytes) {
  const TFilePtr f = OpenRegularFile(path);
  if (!f) return {};
  std::string text;
  char buf[65536];
  while (text.size() < maxBytes) {
    const size_t want = std::min(sizeof buf, maxBytes - text.size());
    const size_t got = std::fread(buf, 1, want, f.get());
    if (got == 0) break;
    text.append(buf, got);
  }
  return text;
}

}  // namespace kx
