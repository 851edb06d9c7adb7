#include "ui/uClickTracker.h"

#include <FL/Fl.H>
#include <FL/Fl_Widget.H>

namespace kx {

int TClickTracker::Handle(Fl_Widget& widget, int event, bool& clicked) {
  clicked = false;
  switch (event) {
    case FL_PUSH:
      if (Fl::event_button() != FL_LEFT_MOUSE) return 0;
      m_pressed = true;
      return 1;  // so that the drag and the release come here
    case FL_DRAG:
      return m_pressed ? 1 : 0;
    case FL_RELEASE:
      if (Fl::event_button() != FL_LEFT_MOUSE || !m_pressed) return m_pressed ? 1 : 0;
      m_pressed = false;
      clicked = Fl::event_inside(&widget) != 0;
      return 1;
    case FL_ENTER:
    case FL_MOVE:
    case FL_LEAVE:
      // Taken, so that the toolkit knows the widget is under the pointer and
      // shows its hint, rather than that of what lies beneath it.
      return 1;
    case FL_HIDE:
    case FL_DEACTIVATE:
      m_pressed = false;  // the release will not come here
      return 0;
    default:
      return 0;
  }
}

}  // namespace kx
