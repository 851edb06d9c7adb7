#include "ui/uWidgetCapture.h"

#include <FL/Fl.H>
#include <FL/Fl_Device.H>
#include <FL/Fl_Image_Surface.H>
#include <FL/Fl_Widget.H>
#include <FL/x.H>

#include <memory>

// FLTK's call that opens its connection to the window system; its Windows
// header declares it only for the library's own files.
void fl_open_display();

namespace kx {

TBitmap32 CaptureWidget(Fl_Widget& widget) {
  fl_open_display();
  const int w = widget.w(), h = widget.h();
  if (w <= 0 || h <= 0) return {};
  Fl_Image_Surface surface(w, h);
  surface.set_current();
  // Everything is drawn, as at the first exposure (an unmapped window keeps
  // no damage of its own, so it is set directly).
  widget.clear_damage(FL_DAMAGE_ALL);
  surface.draw(&widget);
  std::unique_ptr<Fl_RGB_Image> image(surface.image());
  Fl_Display_Device::display_device()->set_current();
  TBitmap32 out(w, h);
  if (!image || image->w() != w || image->h() != h || image->count() < 1) return out;
  const int d = image->d();
  const int stride = image->ld() ? image->ld() : w * d;
  const auto* bytes = reinterpret_cast<const uint8_t*>(image->data()[0]);
  for (int y = 0; y < h; ++y) {
    const uint8_t* p = bytes + size_t(y) * size_t(stride);
    TPixel* row = out.Row(y);
    for (int x = 0; x < w; ++x, p += d) row[x] = d >= 3 ? MakePixel(p[0], p[1], p[2]) : MakePixel(p[0], p[0], p[0]);
  }
  return out;
}

}  // namespace kx
