#include "ui/MyBevel.h"

#include <FL/fl_draw.H>

#include "ui/uFlDraw.h"
#include "ui/uFormEnums.h"

namespace kx {
namespace {

constexpr TEnumName<TBevelShape> kShapes[] = {
    {"bsBox", TBevelShape::Box},           {"bsFrame", TBevelShape::Frame},
    {"bsTopLine", TBevelShape::TopLine},   {"bsBottomLine", TBevelShape::BottomLine},
    {"bsLeftLine", TBevelShape::LeftLine}, {"bsRightLine", TBevelShape::RightLine},
    {"bsSpacer", TBevelShape::Spacer},
};
constexpr TEnumName<TBevelStyle> kStyles[] = {
    {"bsLowered", TBevelStyle::Lowered},
    {"bsRaised", TBevelStyle::Raised},
};

// The rectangle from (l, t) to (r, b), both corners included: c1 along the
// left side (bottom-left corner included) and the top, c2 along the right
// side (top-right corner included) and the bottom.
void BevelRect(int l, int t, int r, int b, Fl_Color c1, Fl_Color c2) {
  fl_color(c1);
  fl_yxline(l, t, b);
  if (r > l) fl_xyline(l, t, r - 1);
  fl_color(c2);
  if (b > t) fl_yxline(r, t, b - 1);
  if (r > l) fl_xyline(l + 1, b, r);
}

}  // namespace

TMyBevel::TMyBevel() : Fl_Widget(0, 0, 50, 50) {}

bool TMyBevel::SetProperty(std::string_view name, const TFormValue& v) {
  if (SameText(name, "Shape")) Shape = FormEnum(name, v, kShapes);
  else if (SameText(name, "Style")) Style = FormEnum(name, v, kStyles);
  else return false;
  return true;
}

void TMyBevel::Loaded() {
  if (Enabled) activate();
  else deactivate();
  redraw();
}

void TMyBevel::draw() {
  const int W = w(), H = h();
  if (W <= 0 || H <= 0 || Shape == TBevelShape::Spacer) return;
  const Fl_Color shadow = FlColor(SystemColor(16)), highlight = FlColor(SystemColor(20));
  const Fl_Color c1 = Style == TBevelStyle::Lowered ? shadow : highlight;
  const Fl_Color c2 = Style == TBevelStyle::Lowered ? highlight : shadow;
  const int X = x(), Y = y();
  fl_push_clip(X, Y, W, H);
  switch (Shape) {
    case TBevelShape::Box:
      BevelRect(X, Y, X + W - 1, Y + H - 1, c1, c2);
      break;
    case TBevelShape::Frame:
      // Two rectangles a pixel apart: the inner-lower one all in the second
      // colour, the outer-upper one over it all in the first.
      BevelRect(X + 1, Y + 1, X + W - 1, Y + H - 1, c2, c2);
      BevelRect(X, Y, X + W - 2, Y + H - 2, c1, c1);
      break;
    case TBevelShape::TopLine:
      fl_color(c1);
      fl_xyline(X, Y, X + W - 1);
      fl_color(c2);
      fl_xyline(X, Y + 1, X + W - 1);
      break;
    case TBevelShape::BottomLine:
      fl_color(c1);
      fl_xyline(X, Y + H - 2, X + W - 1);
      fl_color(c2);
      fl_xyline(X, Y + H - 1, X + W - 1);
      break;
    case TBevelShape::LeftLine:
      fl_color(c1);
      fl_yxline(X, Y, Y + H - 1);
      fl_color(c2);
      fl_yxline(X + 1, Y, Y + H - 1);
      break;
    case TBevelShape::RightLine:
      fl_color(c1);
      fl_yxline(X + W - 2, Y, Y + H - 1);
      fl_color(c2);
      fl_yxline(X + W - 1, Y, Y + H - 1);
      break;
    case TBevelShape::Spacer:
      break;
  }
  fl_pop_clip();
}

int TMyBevel::handle(int event) {
  bool clicked = false;
  const int r = m_clicks.Handle(*this, event, clicked);
  if (clicked) Click();
  return r;
}

}  // namespace kx
