#include "devices/uClock.h"

#include <chrono>
#include <thread>

#include "devices/uPlatform.h"

namespace kx {

uint32_t TSystemClock::Tick() { return TickCount(); }

void TSystemClock::Sleep(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace kx
