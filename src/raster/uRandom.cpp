#include "raster/uRandom.h"

#include <chrono>

namespace kx {

void TRandom::SeedFromClock() { Seed(uint64_t(std::chrono::steady_clock::now().time_since_epoch().count())); }

}  // namespace kx
