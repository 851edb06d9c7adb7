// The standard classes a window definition may use besides our own skinned
// controls: text labels and hot spots, pictures, push buttons, check and
// edit boxes, panels, page controls and their pages, plain nested forms and
// timers. Each is an FLTK widget that is also a TComponent.
#pragma once

#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Tabs.H>
#include <FL/Fl_Widget.H>

#include <string>

#include "ui/uClickTracker.h"
#include "ui/uComponent.h"
#include "ui/uFlDraw.h"

namespace kx {

enum class TAlignment { LeftJustify, RightJustify, Center };
enum class TTextLayout { Top, Center, Bottom };

class TLabel : public Fl_Widget, public TComponent {
 public:
  TLabel();
  Fl_Widget* Widget() override { return this; }
  bool SetProperty(std::string_view name, const TFormValue& value) override;
  void Loaded() override;
  void draw() override;
  int handle(int event) override;

  bool AutoSize = true;
  bool Transparent = false;
  bool WordWrap = false;
  bool ShowAccelChar = true;
  TAlignment Alignment = TAlignment::LeftJustify;
  TTextLayout Layout = TTextLayout::Top;

 private:
  std::string DisplayText() const;
  void AdjustSize();
  TClickTracker m_clicks;
};

class TImage : public Fl_Widget, public TComponent {
 public:
  TImage();
  Fl_Widget* Widget() override { return this; }
  bool SetProperty(std::string_view name, const TFormValue& value) override;
  void Loaded() override;
  void draw() override;
  int handle(int event) override;

  TFlPicture Picture;
  bool AutoSize = false;
  bool Stretch = false;
  bool Proportional = false;
  bool Center = false;

 private:
  TClickTracker m_clicks;
};

class TButton : public Fl_Button, public TComponent {
 public:
  TButton();
  Fl_Widget* Widget() override { return this; }
  bool SetProperty(std::string_view name, const TFormValue& value) override;
  void Loaded() override;
  void draw() override;

  // The window's cancel button, whose place the Escape key takes: set by
  // Cancel = True, and by the Cancel and Close kinds of a TBitBtn.
  bool Cancel = false;
};

class TBitBtn : public TButton {
 public:
  TBitBtn();
  bool SetProperty(std::string_view name, const TFormValue& value) override;
  void Loaded() override;
  void draw() override;
  int handle(int event) override;

  TFlPicture Glyph;  // the first glyph of the strip
  int NumGlyphs = 1;

 private:
  std::string m_kindCaption;
  bool m_captionSet = false;
};

class TCheckBox : public Fl_Check_Button, public TComponent {
 public:
  TCheckBox();
  Fl_Widget* Widget() override { return this; }
  bool SetProperty(std::string_view name, const TFormValue& value) override;
  void Loaded() override;
};

class TEdit : public Fl_Input, public TComponent {
 public:
  TEdit();
  Fl_Widget* Widget() override { return this; }
  bool SetProperty(std::string_view name, const TFormValue& value) override;
  void Loaded() override;
  bool ReadOnly = false;
};

enum class TBevelCut { Off, Lowered, Raised, Space };

class TPanel : public Fl_Group, public TComponent {
 public:
  TPanel();
  Fl_Widget* Widget() override { return this; }
  bool IsContainer() const override { return true; }
  bool SetProperty(std::string_view name, const TFormValue& value) override;
  void Loaded() override;
  void draw() override;
  int handle(int event) override;

  TBevelCut BevelOuter = TBevelCut::Raised;
  TBevelCut BevelInner = TBevelCut::Off;
  int BevelWidth = 1;
  int BorderWidth = 0;
  TAlignment Alignment = TAlignment::Center;

 private:
  TClickTracker m_clicks;
};

class TTabSheet;

class TPageControl : public Fl_Tabs, public TComponent {
 public:
  TPageControl();
  Fl_Widget* Widget() override { return this; }
  bool IsContainer() const override { return true; }
  bool SetProperty(std::string_view name, const TFormValue& value) override;
  void Loaded() override;
  // The area its pages cover, in window coordinates.
  void PageArea(int& x, int& y, int& w, int& h) const;
  int TabHeight = 0;  // 0: from the font
  std::string ActivePageName;  // resolved once the window is read
};

class TTabSheet : public Fl_Group, public TComponent {
 public:
  TTabSheet();
  Fl_Widget* Widget() override { return this; }
  bool IsContainer() const override { return true; }
  bool SetProperty(std::string_view name, const TFormValue& value) override;
  void Loaded() override;
};

// A form nested in a window: a plain container.
class TForm : public Fl_Group, public TComponent {
 public:
  TForm();
  Fl_Widget* Widget() override { return this; }
  bool IsContainer() const override { return true; }
  void Loaded() override;
};

// Timers are accepted and do nothing: a definition's event lines are gone.
class TTimer : public TComponent {
 public:
  Fl_Widget* Widget() override { return nullptr; }
  bool SetProperty(std::string_view name, const TFormValue& value) override;
};

}  // namespace kx
