#include "ui/uKXPreview.h"

#include <FL/Fl.H>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "animation/uCreatorProject.h"
#include "package/uFileIO.h"
#include "raster/uResample.h"
#include "raster/uStillPicture.h"
#include "ui/uFormValues.h"
#include "ui/uPictureData.h"

namespace kx {

TKXPreview::TKXPreview(int x, int y, int w, int h, const char* label) : Fl_Widget(x, y, w, h, label) {
  ClassName = "TKXPreview";
  box(FL_NO_BOX);
}

bool TKXPreview::SetProperty(std::string_view name, const TFormValue& value) {
  if (SameText(name, "Picture.Data")) {
    SetPicture(DecodePictureData(FormBinary(name, value)));
  } else if (SameText(name, "Transparent")) {
    m_picture.SetTransparent(FormBool(name, value));
  } else if (SameText(name, "Stretch") || SameText(name, "Proportional") || SameText(name, "Center") ||
             SameText(name, "AutoSize") || SameText(name, "IncrementalDisplay")) {
    FormBool(name, value);  // accepted: the preview always stretches to its size
  } else {
    return false;
  }
  return true;
}

void TKXPreview::Loaded() { redraw(); }

void TKXPreview::SetPicture(TBitmap32 bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    TPixel* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) row[x] |= 0xFF000000u;
  }
  m_picture.Assign(std::move(bitmap));
  redraw();
}

void TKXPreview::SetFileName(const std::string& path) {
  m_fileName = path;
  TBitmap32 source;
  if (UpperExtension(path) == ".KXP") {
    TProject project;
    if (project.Load(path)) source = std::move(project.Picture);
  } else if (IsStillPicture(path)) {
    try {
      source = DecodeStillPictureFile(path);
    } catch (const std::exception& e) {
      throw std::runtime_error("File: " + path + ": " + e.what());  // the decoder does not know the file
    }
  }
  const int pw = std::max(0, w()), ph = std::max(0, h());
  TBitmap32 bitmap;
  if (pw > 0 && ph > 0) bitmap = source.Empty() ? TBitmap32(pw, ph, kBlank) : ResizeBilinear(source, pw, ph);
  SetPicture(std::move(bitmap));
}

void TKXPreview::draw() { m_picture.DrawStretched(x(), y(), w(), h()); }

int TKXPreview::handle(int event) {
  switch (event) {
    case FL_PUSH:
      m_pressed = Fl::event_button() == FL_LEFT_MOUSE;
      return 1;
    case FL_DRAG:
      return 1;
    case FL_RELEASE: {
      const bool click = m_pressed && Fl::event_inside(this);
      m_pressed = false;
      if (click) Click();
      return 1;
    }
    case FL_ENTER:
    case FL_LEAVE:
    case FL_MOVE:
      return 1;
    default:
      return Fl_Widget::handle(event);
  }
}

}  // namespace kx
