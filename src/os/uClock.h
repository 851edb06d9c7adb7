// Time as the program sees it: a 32-bit millisecond tick, a sleep and the
// local time of day. Every timed rule reads a clock handed to it, so tests and
// the headless show run on a virtual clock instead of waiting, and a clock
// drawn over a picture shows a time the caller chose.
#pragma once

#include <cstdint>

namespace kx {

// A time of day on the 24-hour clock.
struct TLocalTime {
  int32_t Hour = 0;    // 0..23
  int32_t Minute = 0;  // 0..59
  int32_t Second = 0;  // 0..59
  friend bool operator==(const TLocalTime&, const TLocalTime&) = default;
};

class IClock {
 public:
  virtual ~IClock() = default;
  // Milliseconds since some fixed start, wrapping at 2^32.
  virtual uint32_t Tick() = 0;
  virtual void Sleep(uint32_t ms) = 0;
  // The local time of day now.
  virtual TLocalTime LocalTime() = 0;
};

// The system's monotonic clock, a real sleep and the system's local time.
class TSystemClock final : public IClock {
 public:
  uint32_t Tick() override;
  void Sleep(uint32_t ms) override;
  TLocalTime LocalTime() override;
};

// The calendar time now, in seconds since 1970-01-01 UTC: what file times are
// compared with.
int64_t SecondsSinceEpoch();

}  // namespace kx
