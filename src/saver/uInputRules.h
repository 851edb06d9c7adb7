// The rules by which input ends a full-screen show. The state belongs to
// whoever starts the shows: the configuration window, which starts one show
// after another, hands each the same state, so the second carries on with
// the first's move counter.
#pragma once

#include <cstdint>

namespace kx {

inline constexpr int32_t kKeyF1 = 112;  // key code of F1
inline constexpr int32_t kIgnoredMoves = 5;

struct TInputState {
  int32_t MoveCounter = kIgnoredMoves;  // moves still to ignore
  int32_t LastX = -1, LastY = -1;       // -1: no position yet
  bool F1 = false;
};

enum class TInputAction { None, Close, ResetWater };

class TInputRules {
 public:
  explicit TInputRules(TInputState& state) : m_state(state) {}

  // A new show: F1 off and no last mouse position (the move counter carries on).
  void ShowStarted();
  // Moves of at most 2 pixels from the last position never close; the first
  // moves after start or after a refused close are ignored whatever their size.
  TInputAction MouseMove(int32_t x, int32_t y);
  TInputAction MouseDown() { return TInputAction::Close; }
  TInputAction MouseUp() { return TInputAction::None; }
  // A key that produces a character (letters, digits, space, Enter, Escape,
  // Backspace, Tab) closes.
  TInputAction KeyPress() { return TInputAction::Close; }
  // Of the other keys only F1 acts: it toggles, and turning it off resets the water.
  TInputAction KeyDown(int32_t keyCode);
  // Every request to close re-arms the ignored moves.
  void CloseRequested() { m_state.MoveCounter = kIgnoredMoves; }

 private:
  TInputState& m_state;
};

}  // namespace kx
