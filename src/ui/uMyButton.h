// The picture button of skinned windows: draws one of four pictures (up,
// down, over, disabled) or, without them, a plain push-button face; can latch
// down; fires OnMousePressed at the press and repeatedly while held (after
// 500 ms, then every 50 ms); clicks on a completed left click and on the
// accelerator letter of its caption.
#pragma once

#include <FL/Fl_Widget.H>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "os/uClock.h"
#include "raster/uBitmap.h"
#include "ui/uComponent.h"
#include "ui/uFlDraw.h"
#include "ui/uRepeatTimer.h"

namespace kx {

// The look a button shows.
enum class TButtonLook { Up, Down, Over, Disabled };

class TMyButton : public Fl_Widget, public TComponent {
 public:
  static constexpr uint32_t kFirstRepeatMs = 500;
  static constexpr uint32_t kRepeatMs = 50;

  // The repeat runs on the system clock, or on the clock given (which must
  // outlive the button).
  TMyButton();
  explicit TMyButton(IClock& clock);
  ~TMyButton() override;

  Fl_Widget* Widget() override { return this; }
  bool SetProperty(std::string_view name, const TFormValue& value) override;
  void Loaded() override;
  void draw() override;
  int handle(int event) override;

  // Fired at a left press with the button as sender, then by the repeat
  // with the repeat timer as sender.
  std::function<void(void* sender)> OnMousePressed;

  // Each copies the picture into the button's own; an empty bitmap clears it.
  // A picture that has no transparent colour of its own kind (a JPEG) is
  // drawn opaque whatever Transparent says.
  void SetButtonUp(TBitmap32 picture, bool keyed = true);
  void SetButtonDown(TBitmap32 picture, bool keyed = true);
  void SetButtonOver(TBitmap32 picture, bool keyed = true);
  void SetButtonDisable(TBitmap32 picture, bool keyed = true);
  const TFlPicture& ButtonUp() const { return m_faceUp.Picture; }
  const TFlPicture& ButtonDown() const { return m_faceDown.Picture; }
  const TFlPicture& ButtonOver() const { return m_faceOver.Picture; }
  const TFlPicture& ButtonDisable() const { return m_faceDisable.Picture; }

  bool AutoSize() const { return m_autoSize; }
  void SetAutoSize(bool v);
  bool Down() const { return m_down; }
  void SetDown(bool v);  // only while AllowDown
  bool AllowDown() const { return m_allowDown; }
  void SetAllowDown(bool v);  // false also releases Down
  bool ShowCaption() const { return m_showCaption; }
  void SetShowCaption(bool v);
  bool Transparent() const { return m_transparent; }
  void SetTransparent(bool v);
  bool MouseInControl() const { return m_mouseInControl; }
  bool Pressed() const { return m_pressed; }
  void SetCaption(std::string caption);
  void SetFont(const TFontDesc& font);
  void SetEnabled(bool enabled);

  // The look the next paint shows.
  TButtonLook Look() const;
  // The accelerator letter of the caption (the character after a single
  // "&"; "&&" is a plain "&"), empty when it has none.
  std::string AccelChar() const;

  // Fires the repeat if it is due on the button's clock. A toolkit timeout
  // calls it at the due time; tests on a virtual clock call it themselves.
  void CheckRepeat();
  const TRepeatTimer* RepeatTimer() const { return m_timer.get(); }

 private:
  struct TFace {
    TFlPicture Picture;
    bool Keyed = true;  // its kind has a transparent colour
  };
  void SetFace(TFace& face, TBitmap32 picture, bool keyed);
  void DrawFace(TFace& face, bool transparency);
  void DrawRaisedFace();
  void DrawSunkenEdge();
  void DrawCaption();
  bool ApplyAutoSize();  // true when the size changed
  void Repaint();
  void Schedule();
  static void OnTimeout(void* self);
  static void OnResized(void* self);

  void PointerEnters();
  void PointerLeaves();
  void Press(bool left);
  void Release(bool left);
  void EndPress();

  IClock& m_clock;
  TFace m_faceUp, m_faceDown, m_faceOver, m_faceDisable;
  bool m_autoSize = true;
  bool m_down = false;
  bool m_allowDown = false;
  bool m_showCaption = false;
  bool m_transparent = true;
  bool m_mouseInControl = false;
  bool m_pressed = false;
  bool m_downAsked = false;  // a Down = True line read before AllowDown
  std::unique_ptr<TRepeatTimer> m_timer;  // made at the first press
};

}  // namespace kx
