#include "saver/uShowMath.h"

#include <cmath>

#include "package/uIniFile.h"

namespace kx {

TPoint StretchTarget(int32_t w, int32_t h, int32_t sw, int32_t sh, bool proportional) {
  if (!proportional || w <= 0 || h <= 0 || sh <= 0) return {sw, sh};
  const double ratio = double(w) / h;
  if (int64_t(h) * sw / sh < w) return {sw, int32_t(std::lrint(sw / ratio))};
  return {int32_t(std::lrint(sh * ratio)), sh};
}

TPoint CentredOrigin(int32_t w, int32_t h, int32_t sw, int32_t sh) { return {(sw - w) / 2, (sh - h) / 2}; }

void BackPictureSize(int32_t quality, TPoint& size) {
  static constexpr TPoint kSizes[] = {{1024, 768}, {800, 600}, {640, 480}};
  if (quality >= 0 && quality <= 2) size = kSizes[quality];
}

int32_t TransitionPercent(int32_t i, int32_t n) {
  if (n <= 0) return 100;
  const int64_t a = int64_t(i) * 100;
  int64_t q = a / n;
  const int64_t twice = 2 * (a % n);
  if (twice > n || (twice == n && (q & 1))) ++q;
  return int32_t(q);
}

std::vector<int32_t> ParseTransitionList(std::string_view text) {
  std::vector<int32_t> list;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    std::string_view item = text.substr(start, comma - start);
    while (!item.empty() && uint8_t(item.front()) <= ' ') item.remove_prefix(1);
    while (!item.empty() && uint8_t(item.back()) <= ' ') item.remove_suffix(1);
    const std::optional<int32_t> n = ParseInteger(item);
    if (n && *n >= 1 && *n <= 169) list.push_back(*n);
    start = comma + 1;
  }
  if (list.empty()) list.push_back(1);
  return list;
}

}  // namespace kx
