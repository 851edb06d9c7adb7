#include "ui/uRepeatTimer.h"

namespace kx {

void TRepeatTimer::Start(uint32_t now, uint32_t interval) {
  m_interval = interval;
  Restart(now);
}

void TRepeatTimer::Restart(uint32_t now) {
  m_running = true;
  m_due = now + m_interval;
}

void TRepeatTimer::SetInterval(uint32_t now, uint32_t interval) {
  m_interval = interval;
  if (m_running) m_due = now + m_interval;
}

uint32_t TRepeatTimer::Remaining(uint32_t now) const {
  // The tick wraps after 2^32 ms: the signed difference stays right across it.
  const int32_t left = int32_t(m_due - now);
  return left > 0 ? uint32_t(left) : 0;
}

bool TRepeatTimer::Tick(uint32_t now) {
  if (!m_running || int32_t(now - m_due) < 0) return false;
  m_due = now + m_interval;
  return true;
}

}  // namespace kx
