// A clock that starts at 0 and moves only when told: by each sleep, by an
// explicit advance (a presented frame's fixed cost, a test's step). Safe to
// read from worker threads while the main thread advances it.
#pragma once

#include <atomic>

#include "devices/uClock.h"

namespace kx {

class TVirtualClock final : public IClock {
 public:
  explicit TVirtualClock(uint32_t start = 0) : m_now(start) {}

  uint32_t Tick() override { return m_now.load(std::memory_order_acquire); }
  void Sleep(uint32_t ms) override { Advance(ms); }
  void Advance(uint32_t ms) { m_now.fetch_add(ms, std::memory_order_acq_rel); }

 private:
  std::atomic<uint32_t> m_now;
};

}  // namespace kx
