// Time as the program sees it: a 32-bit millisecond tick and a sleep. Every
// timed rule reads a clock handed to it, so tests and the headless show run
// on a virtual clock instead of waiting.
#pragma once

#include <cstdint>

namespace kx {

class IClock {
 public:
  virtual ~IClock() = default;
  // Milliseconds since some fixed start, wrapping at 2^32.
  virtual uint32_t Tick() = 0;
  virtual void Sleep(uint32_t ms) = 0;
};

// The system's monotonic clock and a real sleep.
class TSystemClock final : public IClock {
 public:
  uint32_t Tick() override;
  void Sleep(uint32_t ms) override;
};

}  // namespace kx
