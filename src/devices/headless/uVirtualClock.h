// A clock that starts at 0 and moves only when told: by each sleep, by an
// explicit advance (a presented frame's fixed cost, a test's step). Safe to
// read from worker threads while the main thread advances it.
//
// Its local time is a time of day the caller sets (midnight until then) plus
// the whole seconds the tick has moved since, wrapping after 24 hours.
#pragma once

#include <atomic>

#include "os/uClock.h"

namespace kx {

class TVirtualClock final : public IClock {
 public:
  explicit TVirtualClock(uint32_t start = 0) : m_now(start), m_localBase(start) {}

  uint32_t Tick() override { return m_now.load(std::memory_order_acquire); }
  void Sleep(uint32_t ms) override { Advance(ms); }
  void Advance(uint32_t ms) { m_now.fetch_add(ms, std::memory_order_acq_rel); }

  // From now on the local time is `time` plus the time the tick moves on.
  // Fields out of range are taken modulo a day (set it before other threads
  // read the clock).
  void SetLocalTime(TLocalTime time) {
    const int64_t s = (int64_t(time.Hour) * 3600 + int64_t(time.Minute) * 60 + time.Second) % kDay;
    m_localSeconds.store(uint32_t(s < 0 ? s + kDay : s), std::memory_order_release);
    m_localBase.store(Tick(), std::memory_order_release);
  }

  TLocalTime LocalTime() override {
    const uint32_t elapsed = Tick() - m_localBase.load(std::memory_order_acquire);
    const uint32_t s = uint32_t((uint64_t(m_localSeconds.load(std::memory_order_acquire)) + elapsed / 1000) % kDay);
    return {int32_t(s / 3600), int32_t(s / 60 % 60), int32_t(s % 60)};
  }

 private:
  static constexpr int64_t kDay = 86400;
  std::atomic<uint32_t> m_now;
  std::atomic<uint32_t> m_localBase;        // the tick at which the local time was set
  std::atomic<uint32_t> m_localSeconds{0};  // seconds since midnight at that tick
};

}  // namespace kx
