// The plain shape of window definitions (rectangle, square, rounded
// rectangle or square, ellipse, circle; filled with a brush, outlined with a
// pen) and its clickable kin, with which skins draw frames and separator
// lines that can be bound to actions.
#pragma once

#include <FL/Fl_Widget.H>

#include "raster/uBitmap.h"
#include "ui/uClickTracker.h"
#include "ui/uComponent.h"

namespace kx {

enum class TShapeType { Rectangle, Square, RoundRect, RoundSquare, Ellipse, Circle };
// Hatched brushes are accepted and fill nothing.
enum class TBrushStyle { Solid, Clear, Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross };
enum class TPenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear, InsideFrame };

struct TShapeBrush {
  TPixel Color = MakePixel(0xFF, 0xFF, 0xFF);
  TBrushStyle Style = TBrushStyle::Solid;
};

struct TShapePen {
  TPixel Color = MakePixel(0, 0, 0);
  int32_t Width = 1;  // 0 draws one pixel wide
  TPenStyle Style = TPenStyle::Solid;
};

// Where a shape's outline lies: its outer edge as a rectangle of the widget
// (the pen's band runs inside it), and the width across of the rounded
// corners (0 for other shapes).
struct TShapeOutline {
  int X = 0, Y = 0, W = 0, H = 0;
  int Corner = 0;
};
TShapeOutline ShapeOutline(TShapeType shape, int width, int height, int penWidth);

class TShape : public Fl_Widget, public TComponent {
 public:
  TShape();
  Fl_Widget* Widget() override { return this; }
  bool SetProperty(std::string_view name, const TFormValue& value) override;
  void Loaded() override;
  void draw() override;
  // The pointer passes through to what lies under the shape, unless the
  // shape has a hint to show there.
  int handle(int event) override;

  TShapeType Shape = TShapeType::Rectangle;
  TShapeBrush Brush;
  TShapePen Pen;
};

// A shape that runs its click handler on a completed left click.
class TMyShape : public TShape {
 public:
  int handle(int event) override;

 private:
  TClickTracker m_clicks;
};

}  // namespace kx
