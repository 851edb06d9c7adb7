// A track bar: a horizontal slider of whole positions that shows the hand
// pointer while the mouse is over it.
#pragma once

#include <FL/Fl_Slider.H>

namespace kx {

class TTrackBar : public Fl_Slider {
 public:
  // A bar from 0 to max standing at position.
  TTrackBar(int x, int y, int w, int h, int max, int position);
  int Position() const { return int(value()); }
  void SetPosition(int position);  // clamped to the bar's range
  int handle(int event) override;
};

}  // namespace kx
