// What the window builder knows of every component it creates: its name and
// class, the properties every class shares, the container it sits in, the
// click handler the configuration window assigns, and the FLTK widget that
// shows it. Each class of a window definition is one TComponent subclass,
// usually also the FLTK widget itself.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "raster/uBitmap.h"
#include "ui/uTextForm.h"

class Fl_Widget;

namespace kx {

// A definition that cannot become a window: an unknown class, a value of the
// wrong kind, a window too large.
class TFormBuildError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A font as a definition describes it; uFlDraw.h turns it into an FLTK font.
struct TFontDesc {
  std::string Name = "MS Sans Serif";
  int32_t Height = -11;  // negative: character height in pixels; positive: cell height
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
  TPixel Color = MakePixel(0, 0, 0);
};

// The pointer shapes a definition can name; the FLTK cursor of each is in uFlDraw.h.
enum class TCursorKind { Default, Arrow, HandPoint, IBeam, Cross, Wait, Help, SizeAll, SizeNS, SizeWE, SizeNWSE, SizeNESW, Hidden };

class TComponent {
 public:
  virtual ~TComponent() = default;

  std::string Name;       // "" for an unnamed component
  std::string ClassName;  // as the definition names it: "TLabel"
  int32_t Tag = 0;        // bit 0 decides whether the configuration window shows it
  bool Visible = true;
  bool Enabled = true;
  std::string Caption;  // UTF-8
  std::string Hint;
  bool ShowHint = false;
  TCursorKind Cursor = TCursorKind::Default;
  TFontDesc Font;
  TPixel Color = MakePixel(0xC0, 0xC0, 0xC0);  // clBtnFace of the classic scheme
  TComponent* Parent = nullptr;                // the container it sits in; null for the window
  std::vector<TComponent*> Controls;           // components placed on this one, in order

  // Set by the configuration window on components of a clickable class.
  std::function<void(TComponent& sender)> OnClick;

  // The widget that shows it; null for a component without one (TTimer).
  virtual Fl_Widget* Widget() = 0;

  // Applies one property line the builder does not handle itself (it handles
  // the shared members above and the geometry). Returns false when this class
  // has no such property: the line is skipped. Throws TFormBuildError for a
  // value of the wrong kind.
  virtual bool SetProperty(std::string_view name, const TFormValue& value) { return false; }

  // Called once all of its property lines are applied (fonts, colours,
  // captions and sizes reach the widget here).
  virtual void Loaded() {}

  // True for a container: the window, TPanel, TPageControl, TTabSheet.
  virtual bool IsContainer() const { return false; }

  // The pointer shape over the window point (x, y); most components show
  // their Cursor everywhere.
  virtual TCursorKind CursorAt(int x, int y) const { return Cursor; }

  // Runs OnClick if there is one.
  void Click() {
    if (OnClick) OnClick(*this);
  }
};

}  // namespace kx
