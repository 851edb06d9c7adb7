// The bevel of window definitions (a box, a frame, one line along a side,
// or an empty spacer; lowered or raised), drawn in the classic button shadow
// and highlight colours, and clickable so that skins can bind it to actions.
#pragma once

#include <FL/Fl_Widget.H>

#include "ui/uClickTracker.h"
#include "ui/uComponent.h"

namespace kx {

enum class TBevelShape { Box, Frame, TopLine, BottomLine, LeftLine, RightLine, Spacer };
enum class TBevelStyle { Lowered, Raised };

class TMyBevel : public Fl_Widget, public TComponent {
 public:
  TMyBevel();
  Fl_Widget* Widget() override { return this; }
  bool SetProperty(std::string_view name, const TFormValue& value) override;
  void Loaded() override;
  void draw() override;
  int handle(int event) override;

  TBevelShape Shape = TBevelShape::Box;
  TBevelStyle Style = TBevelStyle::Lowered;

 private:
  TClickTracker m_clicks;
};

}  // namespace kx
