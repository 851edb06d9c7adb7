#include "ui/uTrackBar.h"

#include <algorithm>

#include "ui/uFlDraw.h"

namespace kx {

TTrackBar::TTrackBar(int x, int y, int w, int h, int max, int position) : Fl_Slider(x, y, w, h) {
  type(FL_HOR_NICE_SLIDER);
  bounds(0, max);
  step(1);
  value(position);
}

void TTrackBar::SetPosition(int position) {
  value(std::clamp(position, int(minimum()), int(maximum())));
}

int TTrackBar::handle(int event) {
  if (event == FL_ENTER || event == FL_LEAVE) {
    ShowHandCursor(*this, event);
    Fl_Slider::handle(event);
    return 1;
  }
  return Fl_Slider::handle(event);
}

}  // namespace kx
