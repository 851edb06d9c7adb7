// The auto-repeat timer of a held button, without a toolkit: an interval, the
// tick at which it is next due and whether it runs, all read against ticks
// the owner passes in. Nothing happens by itself: the owner calls Tick(now)
// when Due() has come (a toolkit timeout, or a test on a virtual clock) and
// fires its event when Tick says so.
#pragma once

#include <cstdint>

namespace kx {

class TRepeatTimer {
 public:
  // Runs from now with this interval.
  void Start(uint32_t now, uint32_t interval);
  // Runs from now with the interval it has.
  void Restart(uint32_t now);
  void Stop() { m_running = false; }

  // Changes the interval; a running timer counts it from now, as a toolkit
  // timer whose interval is set anew does.
  void SetInterval(uint32_t now, uint32_t interval);

  bool Running() const { return m_running; }
  uint32_t Interval() const { return m_interval; }
  uint32_t Due() const { return m_due; }
  // Milliseconds from now until it is due; 0 when it is due or overdue.
  uint32_t Remaining(uint32_t now) const;

  // True when it runs and is due: then it counts its interval again from now.
  // However late the call, it is due once: missed ticks do not pile up.
  bool Tick(uint32_t now);

 private:
  bool m_running = false;
  uint32_t m_interval = 0;
  uint32_t m_due = 0;
};

}  // namespace kx
