#include "raster/uRandom.h"

#include <chrono>

namespace kx {

void TRandom::SeedFromClock() { Seed(uint64_t(std::chrono::steady_clock::now().time_since_epoch().count())); }

// LEGACY
std::atomic<uint32_t> RandSeed{0};
uint32_t Random(uint32_t n) {
  uint32_t old = RandSeed.load(std::memory_order_relaxed);
  uint32_t next;
  do {
    next = NextRandState(old);
  } while (!RandSeed.compare_exchange_weak(old, next, std::memory_order_relaxed));
  return RandValue(next, n);
}
int32_t RandomRange(int32_t a, int32_t b) {
  const int64_t lo = a < b ? a : b;
  const int64_t span = a < b ? int64_t(b) - a : int64_t(a) - b;
  return int32_t(lo + Random(uint32_t(span)));
}
void SeedRandom(uint64_t counter) { RandSeed.store(uint32_t(counter), std::memory_order_relaxed); }
void SeedRandom() { SeedRandom(uint64_t(std::chrono::steady_clock::now().time_since_epoch().count())); }

}  // namespace kx
