// The up and down arrows tied to an edit box.
#pragma once

#include <FL/Fl_Group.H>
#include <FL/Fl_Input.H>

namespace kx {

// Position stays within Min to Max and is shown in the edit box whenever it
// is set. An arrow steps from the number the box holds (clamped to the
// range), or from Position when it holds none, so what the user types is
// only limited when an arrow is used.
class TUpDown : public Fl_Group {
 public:
  TUpDown(int x, int y, int w, int h, Fl_Input& buddy, int min, int max);
  int Position() const { return m_position; }
  void SetPosition(int position);
  void Step(int delta);

 private:
  Fl_Input& m_buddy;
  int m_min, m_max, m_position;
};

}  // namespace kx
