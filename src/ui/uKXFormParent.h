// The top-level window of a skinned window definition: a double-buffered
// FLTK window that is also the root component, with the six frame flags a
// definition sets and the hit test that gives the topmost component under
// the pointer its cursor.
#pragma once

#include <FL/Fl_Double_Window.H>

#include <memory>
#include <vector>

#include "devices/uWindowFrame.h"
#include "ui/uComponent.h"

namespace kx {

// What the window manager is asked for (see ApplyFrame).
struct TFrameFlags {
  bool NoFrame = false;
  bool Sizeable = false;
  bool ShowButtons = false;
  bool MaximizeButton = false;
  bool MinimizeButton = false;
  bool MaximizeOnShow = false;
};

class TfmKXFormParent : public Fl_Double_Window, public TComponent {
 public:
  TfmKXFormParent();
  ~TfmKXFormParent() override;

  TFrameFlags Frame;
  TComponent* ActiveControl = nullptr;  // takes the focus when the window shows
  // How the taskbar lists the window once shown (see show()).
  TWindowIdentity Identity{"kxcsaver", "kxcsaver", {}};
  // Every component of the window, however deep, in creation order. Those
  // with a widget are owned by FLTK through their parents; the others (timers,
  // components without a container) are owned here.
  std::vector<TComponent*> Components;
  void AdoptComponent(std::unique_ptr<TComponent> c);

  Fl_Widget* Widget() override { return this; }
  bool IsContainer() const override { return true; }
  bool SetProperty(std::string_view name, const TFormValue& value) override;
  void Loaded() override;

  // The topmost visible component at the window point (x, y); the window
  // itself when no control is there.
  TComponent* ComponentAt(int x, int y);

  // Sets the border, the title-bar buttons, the size range and the centred
  // position for the frame flags (before show); show() then gives the window
  // system the hints it has for them, and the window's identity.
  void ApplyFrame();

  int handle(int event) override;
  void show() override;

 protected:
  void draw() override;

 private:
  void UpdateCursor();
  std::vector<std::unique_ptr<TComponent>> m_owned;
  Fl_Cursor m_cursor = FL_CURSOR_DEFAULT;
};

}  // namespace kx
