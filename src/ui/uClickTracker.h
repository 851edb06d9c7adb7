// Completed left clicks on a widget that otherwise draws only: the left
// button pressed on it and released on it again. Shapes and bevels of
// skinned windows catch clicks this way. The pointer's entering and moving
// over the widget are taken too: it is the one under the pointer, whose hint
// shows.
#pragma once

class Fl_Widget;

namespace kx {

class TClickTracker {
 public:
  // What the widget's handle() returns for the event. `clicked` is set on
  // the release that completes a click; other events leave it false.
  int Handle(Fl_Widget& widget, int event, bool& clicked);

 private:
  bool m_pressed = false;
};

}  // namespace kx
