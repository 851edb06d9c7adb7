// The pseudo-random generator of a show, and of anything else that needs
// numbers it can repeat from a seed.
//
// The state is one 32-bit word. A draw of Random(n) advances it to
// state * 134775813 + 1 (modulo 2^32) and returns the high 32 bits of the
// 64-bit product state * n, a value from 0 to n - 1. A generator has no
// lock: it belongs to one thread at a time (a show draws on its own thread
// only). Whoever draws from it gets it passed in, so which numbers a
// consumer sees depends only on the seed and on who drew before it from the
// same generator.
#pragma once

#include <cstdint>

namespace kx {

// One step of the generator formula: the next state.
constexpr uint32_t NextRandState(uint32_t state) { return state * 134775813u + 1u; }
// The value a draw of Random(n) returns from an already advanced state.
constexpr uint32_t RandValue(uint32_t state, uint32_t n) { return uint32_t((uint64_t(state) * n) >> 32); }

class TRandom {
 public:
  explicit constexpr TRandom(uint32_t state = 0) : m_state(state) {}

  // Advances the state and returns a value from 0 to n - 1 (Random(0) is 0).
  constexpr uint32_t Random(uint32_t n) {
    m_state = NextRandState(m_state);
    return RandValue(m_state, n);
  }
  // min(a, b) + Random(|b - a|).
  constexpr int32_t RandomRange(int32_t a, int32_t b) {
    const int64_t lo = a < b ? a : b;
    const int64_t span = a < b ? int64_t(b) - a : int64_t(a) - b;
    return int32_t(lo + Random(uint32_t(span)));
  }

  // The state := the low 32 bits of a high-resolution counter value.
  constexpr void Seed(uint64_t counter) { m_state = uint32_t(counter); }
  // Seeds from the steady clock's current count.
  void SeedFromClock();

  constexpr uint32_t State() const { return m_state; }

 private:
  uint32_t m_state;
};

}  // namespace kx
