// The process-wide pseudo-random generator and a private copy of its formula.
//
// The state is one 32-bit word. A draw of Random(n) advances it to
// state * 134775813 + 1 (modulo 2^32) and returns the high 32 bits of the
// 64-bit product state * n, a value from 0 to n - 1. The shared state is
// atomic and advanced by compare-and-swap, so worker threads and the main
// thread may draw at the same time without losing or repeating a step.
#pragma once

#include <atomic>
#include <cstdint>

namespace kx {

extern std::atomic<uint32_t> RandSeed;

// One step of the generator formula: the next state.
constexpr uint32_t NextRandState(uint32_t state) { return state * 134775813u + 1u; }
// The value a draw of Random(n) returns from an already advanced state.
constexpr uint32_t RandValue(uint32_t state, uint32_t n) { return uint32_t((uint64_t(state) * n) >> 32); }

// Advances RandSeed and returns a value from 0 to n - 1 (Random(0) is 0).
uint32_t Random(uint32_t n);
// min(a, b) + Random(|b - a|).
int32_t RandomRange(int32_t a, int32_t b);

// Seeds RandSeed with the low 32 bits of a high-resolution counter value.
void SeedRandom(uint64_t counter);
// Seeds RandSeed from the steady clock's current count.
void SeedRandom();

// The same formula on a state of its own, for patterns that must repeat
// exactly from a known seed whatever other threads draw meanwhile.
class TRandSequence {
 public:
  explicit constexpr TRandSequence(uint32_t seed) : m_state(seed) {}
  constexpr uint32_t Next(uint32_t n) {
    m_state = NextRandState(m_state);
    return RandValue(m_state, n);
  }
  constexpr uint32_t State() const { return m_state; }

 private:
  uint32_t m_state;
};

}  // namespace kx
