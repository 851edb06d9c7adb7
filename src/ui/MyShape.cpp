#include "ui/MyShape.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "ui/uFlDraw.h"
#include "ui/uFormEnums.h"

namespace kx {
namespace {

constexpr TEnumName<TShapeType> kShapes[] = {
    {"stRectangle", TShapeType::Rectangle}, {"stSquare", TShapeType::Square},
    {"stRoundRect", TShapeType::RoundRect}, {"stRoundSquare", TShapeType::RoundSquare},
    {"stEllipse", TShapeType::Ellipse},     {"stCircle", TShapeType::Circle},
};
constexpr TEnumName<TBrushStyle> kBrushStyles[] = {
    {"bsSolid", TBrushStyle::Solid},         {"bsClear", TBrushStyle::Clear},
    {"bsHorizontal", TBrushStyle::Horizontal}, {"bsVertical", TBrushStyle::Vertical},
    {"bsFDiagonal", TBrushStyle::FDiagonal}, {"bsBDiagonal", TBrushStyle::BDiagonal},
    {"bsCross", TBrushStyle::Cross},         {"bsDiagCross", TBrushStyle::DiagCross},
};
constexpr TEnumName<TPenStyle> kPenStyles[] = {
    {"psSolid", TPenStyle::Solid},       {"psDash", TPenStyle::Dash},
    {"psDot", TPenStyle::Dot},           {"psDashDot", TPenStyle::DashDot},
    {"psDashDotDot", TPenStyle::DashDotDot}, {"psClear", TPenStyle::Clear},
    {"psInsideFrame", TPenStyle::InsideFrame},
};
// Raster operations draw as plain copies here; the names are accepted.
constexpr TEnumName<int> kPenModes[] = {
    {"pmBlack", 0}, {"pmWhite", 0},   {"pmNop", 0},     {"pmNot", 0},     {"pmCopy", 0},   {"pmNotCopy", 0},
    {"pmMergePenNot", 0}, {"pmMaskPenNot", 0}, {"pmMergeNotPen", 0}, {"pmMaskNotPen", 0}, {"pmMerge", 0},
    {"pmNotMerge", 0}, {"pmMask", 0}, {"pmNotMask", 0}, {"pmXor", 0}, {"pmNotXor", 0},
};

// Wider pens than any screen needs are drawn as this wide.
constexpr int32_t kMaxPenWidth = 1 << 16;

bool IsSquare(TShapeType s) {
  return s == TShapeType::Square || s == TShapeType::RoundSquare || s == TShapeType::Circle;
}
bool IsRound(TShapeType s) { return s == TShapeType::RoundRect || s == TShapeType::RoundSquare; }
bool IsEllipse(TShapeType s) { return s == TShapeType::Ellipse || s == TShapeType::Circle; }

int FlPenStyle(TPenStyle s) {
  switch (s) {
    case TPenStyle::Dash: return FL_DASH;
    case TPenStyle::Dot: return FL_DOT;
    case TPenStyle::DashDot: return FL_DASHDOT;
    case TPenStyle::DashDotDot: return FL_DASHDOTDOT;
    default: return FL_SOLID;
  }
}

// The rounded outline along the path whose first and last pixel columns are
// x and x + w - 1 (rows likewise), corners d across.
void RoundPath(int x, int y, int w, int h, int d, bool fill) {
  const int r = d / 2;
  if (fill) {
    fl_rectf(x + r, y, w - 2 * r, h);
    fl_rectf(x, y + r, w, h - 2 * r);
    fl_pie(x, y, d, d, 90, 180);
    fl_pie(x + w - d, y, d, d, 0, 90);
    fl_pie(x, y + h - d, d, d, 180, 270);
    fl_pie(x + w - d, y + h - d, d, d, 270, 360);
    return;
  }
  fl_xyline(x + r, y, x + w - 1 - r);
  fl_xyline(x + r, y + h - 1, x + w - 1 - r);
  fl_yxline(x, y + r, y + h - 1 - r);
  fl_yxline(x + w - 1, y + r, y + h - 1 - r);
  fl_arc(x, y, d, d, 90, 180);
  fl_arc(x + w - d, y, d, d, 0, 90);
  fl_arc(x, y + h - d, d, d, 180, 270);
  fl_arc(x + w - d, y + h - d, d, d, 270, 360);
}

}  // namespace

TShapeOutline ShapeOutline(TShapeType shape, int width, int height, int penWidth) {
  // The classic layout: the pen's path starts half a pen in, and the pen is
  // centred on it, so the outline ends exactly at the bounds.
  const int pw = std::clamp(penWidth, 0, kMaxPenWidth);
  int x = pw / 2, y = x;
  int w = width - pw + 1, h = height - pw + 1;
  if (pw == 0) {
    --w;
    --h;
  }
  const int s = std::min(w, h);
  if (IsSquare(shape)) {
    x += (w - s) / 2;
    y += (h - s) / 2;
    w = h = s;
  }
  const int band = std::max(pw, 1);
  TShapeOutline o;
  o.X = x - pw / 2;
  o.Y = y - pw / 2;
  o.W = w + band - 1;
  o.H = h + band - 1;
  o.Corner = IsRound(shape) ? std::max(s, 0) / 4 : 0;
  return o;
}

TShape::TShape() : Fl_Widget(0, 0, 65, 65) {}

bool TShape::SetProperty(std::string_view name, const TFormValue& v) {
  if (SameText(name, "Shape")) Shape = FormEnum(name, v, kShapes);
  else if (SameText(name, "Brush.Color")) Brush.Color = FormColor(name, v);
  else if (SameText(name, "Brush.Style")) Brush.Style = FormEnum(name, v, kBrushStyles);
  else if (SameText(name, "Pen.Color")) Pen.Color = FormColor(name, v);
  else if (SameText(name, "Pen.Width")) Pen.Width = std::clamp(FormInt(name, v), 0, kMaxPenWidth);
  else if (SameText(name, "Pen.Style")) Pen.Style = FormEnum(name, v, kPenStyles);
  else if (SameText(name, "Pen.Mode")) (void)FormEnum(name, v, kPenModes);
  else return false;
  return true;
}

void TShape::Loaded() {
  if (Enabled) activate();
  else deactivate();
  redraw();
}

void TShape::draw() {
  const TShapeOutline o = ShapeOutline(Shape, w(), h(), Pen.Width);
  if (o.W <= 0 || o.H <= 0) return;
  const int bx = x() + o.X, by = y() + o.Y;
  const int pw = std::max(Pen.Width, 1);
  const bool fill = Brush.Style == TBrushStyle::Solid;
  const bool pen = Pen.Style != TPenStyle::Clear;
  // Only a one-pixel pen draws dashes; a wider one is solid.
  const int style = pw == 1 ? FlPenStyle(Pen.Style) : FL_SOLID;
  fl_push_clip(x(), y(), w(), h());

  if (!IsEllipse(Shape) && !(IsRound(Shape) && o.Corner >= 2)) {
    // Rectangles and squares: the pen's band inside the outline, the brush
    // inside the band. Gaps between dashes show the brush.
    fl_color(FlColor(Brush.Color));
    if (fill && (!pen || style != FL_SOLID)) fl_rectf(bx, by, o.W, o.H);
    else if (fill && o.W > 2 * pw && o.H > 2 * pw) fl_rectf(bx + pw, by + pw, o.W - 2 * pw, o.H - 2 * pw);
    if (pen) {
      fl_color(FlColor(Pen.Color));
      if (style != FL_SOLID) {
        fl_line_style(style, 0);
        fl_rect(bx, by, o.W, o.H);
        fl_line_style(0);
      } else if (o.W <= 2 * pw || o.H <= 2 * pw) {
        fl_rectf(bx, by, o.W, o.H);
      } else {
        fl_rectf(bx, by, o.W, pw);
        fl_rectf(bx, by + o.H - pw, o.W, pw);
        fl_rectf(bx, by + pw, pw, o.H - 2 * pw);
        fl_rectf(bx + o.W - pw, by + pw, pw, o.H - 2 * pw);
      }
    }
    fl_pop_clip();
    return;
  }

  // Ellipses and rounded corners: the pen is centred on a path half a pen
  // inside the outline.
  const int px = bx + pw / 2, py = by + pw / 2;
  const int pW = std::max(o.W - pw + 1, 1), pH = std::max(o.H - pw + 1, 1);
  if (fill) {
    fl_color(FlColor(Brush.Color));
    if (IsEllipse(Shape)) fl_pie(px, py, pW, pH, 0, 360);
    else RoundPath(px, py, pW, pH, o.Corner, true);
  }
  if (pen) {
    fl_color(FlColor(Pen.Color));
    fl_line_style(style, pw > 1 ? pw : 0);
    if (IsEllipse(Shape)) fl_arc(px, py, pW, pH, 0, 360);
    else RoundPath(px, py, pW, pH, o.Corner, false);
    fl_line_style(0);
  }
  fl_pop_clip();
}

int TShape::handle(int event) {
  return (event == FL_ENTER || event == FL_MOVE || event == FL_LEAVE) && tooltip() ? 1 : 0;
}

int TMyShape::handle(int event) {
  bool clicked = false;
  const int r = m_clicks.Handle(*this, event, clicked);
  if (clicked) Click();
  return r;
}

}  // namespace kx
