#include "ui/uKXFormParent.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include "devices/uWindowFrame.h"
#include "ui/uFlDraw.h"
#include "ui/uFormValues.h"

namespace kx {

TfmKXFormParent::TfmKXFormParent() : Fl_Double_Window(0, 0, 320, 240) {
  end();
  ClassName = "TfmKXCOnfigWindow";
  Color = SystemColor(15);
  Font = TFontDesc{};
}

TfmKXFormParent::~TfmKXFormParent() {
  // FLTK deletes the child widgets; the components it does not own go here.
  clear();
  m_owned.clear();
}

void TfmKXFormParent::AdoptComponent(std::unique_ptr<TComponent> c) { m_owned.push_back(std::move(c)); }

bool TfmKXFormParent::SetProperty(std::string_view name, const TFormValue& value) {
  static constexpr std::pair<std::string_view, bool TFrameFlags::*> kFlags[] = {
      {"NoFrame", &TFrameFlags::NoFrame},           {"Sizeable", &TFrameFlags::Sizeable},
      {"ShowButtons", &TFrameFlags::ShowButtons},   {"MaximizeButton", &TFrameFlags::MaximizeButton},
      {"MinimizeButton", &TFrameFlags::MinimizeButton}, {"MaximizeOnShow", &TFrameFlags::MaximizeOnShow},
  };
  for (const auto& [flag, member] : kFlags)
    if (SameText(name, flag)) {
      Frame.*member = FormBool(name, value);
      return true;
    }
  return false;
}

void TfmKXFormParent::Loaded() {
  color(FlColor(Color));
  copy_label(Caption.c_str());
}

TComponent* TfmKXFormParent::ComponentAt(int x, int y) {
  TComponent* at = this;
  // Depth first: the last control placed on a container lies on top.
  for (bool deeper = true; deeper;) {
    deeper = false;
    for (auto it = at->Controls.rbegin(); it != at->Controls.rend(); ++it) {
      Fl_Widget* w = (*it)->Widget();
      if (!w || !w->visible() || x < w->x() || y < w->y() || x >= w->x() + w->w() || y >= w->y() + w->h()) continue;
      at = *it;
      deeper = true;
      break;
    }
  }
  return at;
}

void TfmKXFormParent::ApplyFrame() {
  border(Frame.NoFrame ? 0 : 1);
  if (Frame.Sizeable && !Frame.NoFrame) {
    // Controls keep their place and size when the window grows, as anchored
    // to the top-left corner: only an empty box at the far corner resizes.
    auto* corner = new Fl_Box(w(), h(), 0, 0);
    add(corner);
    resizable(corner);
    size_range(1, 1);
  } else {
    resizable(nullptr);
    size_range(w(), h(), w(), h());
  }
  int sx, sy, sw, sh;
  Fl::screen_work_area(sx, sy, sw, sh, 0);
  if (Frame.MaximizeOnShow) resize(sx, sy, std::max(w(), sw), std::max(h(), sh));
  position(sx + (sw - w()) / 2, sy + (sh - h()) / 2);
}

void TfmKXFormParent::show() {
  const bool first = !shown();
  Fl_Double_Window::show();
  if (!first) return;
  TWindowFrame f;
  f.Border = !Frame.NoFrame;
  f.Resizable = Frame.Sizeable && !Frame.NoFrame;
  f.Menu = Frame.ShowButtons;
  f.Maximize = Frame.MaximizeButton;
  f.Minimize = Frame.MinimizeButton;
  if (iconlabel()) f.TaskbarTitle = iconlabel();
  // C-style casts: the toolkit's connection and window are a Display* and an
  // integer on X11, an instance and a window handle on Windows.
  const TNativeWindow native{(void*)fl_display, (uint64_t)(uintptr_t)fl_xid(this)};
  SetWindowFrameHints(native, f);
  SetWindowIdentity(native, Identity);
  if (Frame.MaximizeOnShow) SetWindowMaximized(native);
  if (ActiveControl && ActiveControl->Widget()) ActiveControl->Widget()->take_focus();
}

void TfmKXFormParent::draw() {
  // The window's own colour under its controls.
  if (damage() & ~FL_DAMAGE_CHILD) {
    fl_color(FlColor(Color));
    fl_rectf(0, 0, w(), h());
  }
  draw_children();
}

void TfmKXFormParent::UpdateCursor() {
  TComponent* c = ComponentAt(Fl::event_x(), Fl::event_y());
  const Fl_Cursor want = FlCursor(c ? c->CursorAt(Fl::event_x(), Fl::event_y()) : Cursor);
  if (want != m_cursor) {
    m_cursor = want;
    cursor(want);
  }
}

int TfmKXFormParent::handle(int event) {
  const int r = Fl_Double_Window::handle(event);
  if (event == FL_MOVE || event == FL_ENTER || event == FL_DRAG || event == FL_RELEASE) UpdateCursor();
  if (event == FL_MOVE || event == FL_ENTER) return 1;
  return r;
}

}  // namespace kx
