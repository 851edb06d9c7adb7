// Integer helpers shared by every layer.
#pragma once

#include <cstdint>
#include <limits>

namespace kx {

// a * b / c with a 64-bit intermediate product, rounded to the nearest integer
// with halves away from zero. A zero divisor gives 0 and a quotient beyond the
// 32-bit range saturates, so a degenerate size never turns into a wild value.
constexpr int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return 0;
  const int64_t p = int64_t(a) * b;
  int64_t q = p / c;
  const int64_t r = p % c;
  const int64_t absR = r < 0 ? -r : r;
  const int64_t absC = c < 0 ? -int64_t(c) : int64_t(c);
  if (2 * absR >= absC) q += ((p < 0) != (c < 0)) ? -1 : 1;
  if (q > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (q < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return int32_t(q);
}

}  // namespace kx
