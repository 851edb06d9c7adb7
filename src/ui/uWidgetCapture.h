// What a widget draws, as our bitmap: the widget (a whole window with its
// children, or one control) is drawn into an off-screen surface of its size.
// Needs an X display; nothing is shown on it.
#pragma once

#include "raster/uBitmap.h"

class Fl_Widget;

namespace kx {

TBitmap32 CaptureWidget(Fl_Widget& widget);

}  // namespace kx
