#include "os/uClock.h"

#include <chrono>
#include <ctime>
#include <thread>

#include "os/uPlatform.h"

namespace kx {

uint32_t TSystemClock::Tick() { return TickCount(); }

void TSystemClock::Sleep(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

TLocalTime TSystemClock::LocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  if (!localtime_r(&now, &parts)) return {};
  // A leap second (60) shows as the last second of its minute.
  return {parts.tm_hour, parts.tm_min, parts.tm_sec > 59 ? 59 : parts.tm_sec};
}

int64_t SecondsSinceEpoch() { return int64_t(std::time(nullptr)); }

}  // namespace kx
