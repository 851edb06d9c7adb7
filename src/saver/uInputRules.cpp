#include "saver/uInputRules.h"

#include <cstdlib>

namespace kx {

void TInputRules::ShowStarted() {
  m_state.F1 = false;
  m_state.LastX = m_state.LastY = -1;
}

TInputAction TInputRules::MouseMove(int32_t x, int32_t y) {
  if (m_state.MoveCounter > 0) {
    --m_state.MoveCounter;
    return TInputAction::None;
  }
  if (m_state.LastX == -1 && m_state.LastY == -1) {
    m_state.LastX = x;
    m_state.LastY = y;
  }
  const bool moved = std::abs(x - m_state.LastX) > 2 || std::abs(y - m_state.LastY) > 2;
  m_state.LastX = x;
  m_state.LastY = y;
  return moved ? TInputAction::Close : TInputAction::None;
}

TInputAction TInputRules::KeyDown(int32_t keyCode) {
  if (keyCode != kKeyF1) return TInputAction::None;
  m_state.F1 = !m_state.F1;
  return m_state.F1 ? TInputAction::None : TInputAction::ResetWater;
}

}  // namespace kx
