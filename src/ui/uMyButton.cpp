#include "ui/uMyButton.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/fl_utf8.h>

#include "ui/uFormValues.h"
#include "ui/uPictureData.h"

namespace kx {
namespace {

IClock& SystemClock() {
  static TSystemClock clock;
  return clock;
}

// Bitmaps carry a transparent colour (their bottom-left pixel); JPEG
// pictures have none, and the other kinds bring their own transparency.
bool HasTransparentColor(std::string_view pictureData) {
  if (pictureData.empty()) return false;
  const size_t n = uint8_t(pictureData[0]);
  return pictureData.size() > n && SameText(pictureData.substr(1, n), "TBitmap");
}

// The caption as shown: every "&" that marks an accelerator left out ("&&"
// is one "&"). accelAt is the byte offset of the accelerator letter in the
// result, or npos.
std::string ShownCaption(std::string_view caption, size_t& accelAt) {
  accelAt = std::string::npos;
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) {
      ++i;
      if (caption[i] != '&' && accelAt == std::string::npos) accelAt = out.size();
    }
    out += caption[i];
  }
  return out;
}

// The length of the UTF-8 character at the start of s (1 for a stray byte).
size_t CharLength(std::string_view s) {
  if (s.empty()) return 0;
  const int n = fl_utf8len(s[0]);
  return n > 0 && size_t(n) <= s.size() ? size_t(n) : 1;
}

unsigned LowerChar(std::string_view s) {
  int len = 0;
  const unsigned ucs = fl_utf8decode(s.data(), s.data() + s.size(), &len);
  return unsigned(fl_tolower(ucs));
}

}  // namespace

TMyButton::TMyButton() : TMyButton(SystemClock()) {}

TMyButton::TMyButton(IClock& clock) : Fl_Widget(0, 0, 75, 25), m_clock(clock) {}

TMyButton::~TMyButton() {
  Fl::remove_timeout(OnTimeout, this);
  Fl::remove_timeout(OnResized, this);
}

bool TMyButton::SetProperty(std::string_view name, const TFormValue& v) {
  struct TPictureProperty {
    std::string_view Name;
    TFace TMyButton::*Face;
  };
  static constexpr TPictureProperty kPictures[] = {
      {"ButtonUp.Data", &TMyButton::m_faceUp},
      {"ButtonDown.Data", &TMyButton::m_faceDown},
      {"ButtonOver.Data", &TMyButton::m_faceOver},
      {"ButtonDisable.Data", &TMyButton::m_faceDisable},
  };
  for (const auto& p : kPictures)
    if (SameText(name, p.Name)) {
      const std::string& data = FormBinary(name, v);
      SetFace(this->*p.Face, DecodePictureData(data), HasTransparentColor(data));
      return true;
    }
  if (SameText(name, "AutoSize")) SetAutoSize(FormBool(name, v));
  // Down is written before AllowDown; it is applied once both are read.
  else if (SameText(name, "Down")) m_downAsked = FormBool(name, v);
  else if (SameText(name, "AllowDown")) SetAllowDown(FormBool(name, v));
  else if (SameText(name, "ShowCaption")) SetShowCaption(FormBool(name, v));
  else if (SameText(name, "Transparent")) SetTransparent(FormBool(name, v));
  else if (SameText(name, "MouseInControl")) (void)FormBool(name, v);  // the pointer's, not the definition's
  else return false;
  return true;
}

void TMyButton::Loaded() {
  if (m_downAsked) SetDown(true);
  m_downAsked = false;
  if (Enabled) activate();
  else deactivate();
  ApplyAutoSize();
  Repaint();
}

// ---- properties ----

void TMyButton::SetFace(TFace& face, TBitmap32 picture, bool keyed) {
  face.Picture.Assign(std::move(picture));
  face.Keyed = keyed;
  Repaint();
}

void TMyButton::SetButtonUp(TBitmap32 picture, bool keyed) { SetFace(m_faceUp, std::move(picture), keyed); }
void TMyButton::SetButtonDown(TBitmap32 picture, bool keyed) { SetFace(m_faceDown, std::move(picture), keyed); }
void TMyButton::SetButtonOver(TBitmap32 picture, bool keyed) { SetFace(m_faceOver, std::move(picture), keyed); }
void TMyButton::SetButtonDisable(TBitmap32 picture, bool keyed) {
  SetFace(m_faceDisable, std::move(picture), keyed);
}

void TMyButton::SetAutoSize(bool v) {
  m_autoSize = v;
  Repaint();
}

void TMyButton::SetDown(bool v) {
  if (!m_allowDown) return;
  m_down = v;
  Repaint();
}

void TMyButton::SetAllowDown(bool v) {
  m_allowDown = v;
  if (!v && m_down) {
    m_down = false;
    Repaint();
  }
}

void TMyButton::SetShowCaption(bool v) {
  m_showCaption = v;
  Repaint();
}

void TMyButton::SetTransparent(bool v) {
  m_transparent = v;
  Repaint();
}

void TMyButton::SetCaption(std::string caption) {
  Caption = std::move(caption);
  Repaint();
}

void TMyButton::SetFont(const TFontDesc& font) {
  Font = font;
  Repaint();
}

void TMyButton::SetEnabled(bool enabled) {
  Enabled = enabled;
  if (enabled) activate();
  else deactivate();
  Repaint();
}

TButtonLook TMyButton::Look() const {
  if (!active()) return TButtonLook::Disabled;
  if (m_down || (m_mouseInControl && m_pressed)) return TButtonLook::Down;
  return m_mouseInControl ? TButtonLook::Over : TButtonLook::Up;
}

std::string TMyButton::AccelChar() const {
  size_t at;
  const std::string shown = ShownCaption(Caption, at);
  if (at == std::string::npos) return {};
  return shown.substr(at, CharLength(std::string_view(shown).substr(at)));
}

// The button is see-through (keyed pictures, an edge without a face), so a
// repaint also repaints what lies under it.
void TMyButton::Repaint() {
  redraw();
  if (Fl_Window* win = window(); win && visible_r()) win->damage(FL_DAMAGE_EXPOSE, x(), y(), w(), h());
}

// ---- painting ----

bool TMyButton::ApplyAutoSize() {
  const TFlPicture& up = m_faceUp.Picture;
  if (!m_autoSize || up.Empty() || (w() == up.Width() && h() == up.Height())) return false;
  size(up.Width(), up.Height());
  return true;
}

// Damage asked for while the window draws is dropped when it finishes, so
// the area a paint has just resized is repainted from the event loop.
void TMyButton::OnResized(void* self) { static_cast<TMyButton*>(self)->Repaint(); }

void TMyButton::DrawFace(TFace& face, bool transparency) {
  face.Picture.SetTransparent(transparency && face.Keyed);
  face.Picture.Draw(x(), y());
}

// The classic push-button face: the face colour, a light outer edge at the
// top and left and a dark one at the bottom and right, and inside that a
// second, softer pair.
void TMyButton::DrawRaisedFace() {
  const int X = x(), Y = y(), R = x() + w() - 1, B = y() + h() - 1;
  fl_color(FlColor(SystemColor(15)));
  fl_rectf(X, Y, w(), h());
  fl_color(FlColor(SystemColor(20)));
  fl_xyline(X, Y, R - 1);
  fl_yxline(X, Y, B - 1);
  fl_color(FlColor(SystemColor(21)));
  fl_xyline(X, B, R);
  fl_yxline(R, Y, B);
  if (w() < 4 || h() < 4) return;
  fl_color(FlColor(SystemColor(22)));
  fl_xyline(X + 1, Y + 1, R - 2);
  fl_yxline(X + 1, Y + 1, B - 2);
  fl_color(FlColor(SystemColor(16)));
  fl_xyline(X + 1, B - 1, R - 1);
  fl_yxline(R - 1, Y + 1, B - 1);
}

// A one-pixel sunken edge along all four sides; the inside is left alone.
void TMyButton::DrawSunkenEdge() {
  const int X = x(), Y = y(), R = x() + w() - 1, B = y() + h() - 1;
  fl_color(FlColor(SystemColor(16)));
  fl_xyline(X, Y, R - 1);
  fl_yxline(X, Y, B - 1);
  fl_color(FlColor(SystemColor(20)));
  fl_xyline(X, B, R);
  fl_yxline(R, Y, B);
}

void TMyButton::DrawCaption() {
  size_t accelAt;
  const std::string text = ShownCaption(Caption, accelAt);
  if (text.empty()) return;
  SetFlFont(Font);
  const int tw = int(fl_width(text.data(), int(text.size())));
  const int th = fl_height();
  // Centred; C++ division truncates toward zero, as the placement needs
  // when the text is wider or taller than the button.
  const int tx = x() + (w() - tw) / 2;
  const int baseline = y() + (h() - th) / 2 + th - fl_descent();
  DrawFontText(Font, text, tx, baseline);
  if (accelAt != std::string::npos && !Font.Underline) {
    const int ux = tx + int(fl_width(text.data(), int(accelAt)));
    const int uw = int(fl_width(text.data() + accelAt, int(CharLength(std::string_view(text).substr(accelAt)))));
    if (uw > 0) fl_xyline(ux, baseline + 1, ux + uw - 1);
  }
}

void TMyButton::draw() {
  if (ApplyAutoSize() && window() && window()->shown()) Fl::add_timeout(0, OnResized, this);
  if (w() <= 0 || h() <= 0) return;
  fl_push_clip(x(), y(), w(), h());
  switch (Look()) {
    case TButtonLook::Disabled:
      if (!m_faceDisable.Picture.Empty()) DrawFace(m_faceDisable, m_transparent);
      else DrawRaisedFace();
      break;
    case TButtonLook::Up:
      if (!m_faceUp.Picture.Empty()) DrawFace(m_faceUp, m_transparent);
      else DrawRaisedFace();
      break;
    case TButtonLook::Down:
      if (!m_faceDown.Picture.Empty()) DrawFace(m_faceDown, m_transparent);
      else if (!m_faceUp.Picture.Empty()) DrawFace(m_faceUp, m_transparent);
      else DrawSunkenEdge();
      break;
    case TButtonLook::Over:
      if (!m_faceOver.Picture.Empty()) DrawFace(m_faceOver, m_transparent);
      else if (!m_faceUp.Picture.Empty()) DrawFace(m_faceUp, m_transparent);
      else DrawRaisedFace();
      break;
  }
  if (m_showCaption && Look() != TButtonLook::Disabled) DrawCaption();
  fl_pop_clip();
}

// ---- pointer, keys and the repeat ----

void TMyButton::PointerEnters() {
  if (m_mouseInControl) return;
  if (m_pressed && m_timer) {
    m_timer->Restart(m_clock.Tick());
    Schedule();
  }
  m_mouseInControl = true;
  Repaint();
}

void TMyButton::PointerLeaves() {
  if (!m_mouseInControl) return;
  if (m_timer) {
    m_timer->Stop();
    Schedule();
  }
  m_mouseInControl = false;
  Repaint();
}

void TMyButton::Press(bool left) {
  if (!m_mouseInControl) {
    m_mouseInControl = true;
    Repaint();
  }
  if (!left || m_pressed) return;
  if (!m_timer) m_timer = std::make_unique<TRepeatTimer>();
  m_timer->Start(m_clock.Tick(), kFirstRepeatMs);
  Schedule();
  m_pressed = true;
  Repaint();
  // Last: the handler may do anything, even take the button away.
  if (OnMousePressed) OnMousePressed(this);
}

void TMyButton::Release(bool left) {
  if (!left || !m_pressed) return;
  if (m_timer) {
    m_timer->Stop();
    Schedule();
  }
  // The release ends the press wherever it happens, so it latches too.
  if (m_allowDown) m_down = !m_down;
  m_pressed = false;
  Repaint();
}

// A button hidden or disabled while held gets no release: the press and
// its repeat end here instead.
void TMyButton::EndPress() {
  if (m_timer) m_timer->Stop();
  Fl::remove_timeout(OnTimeout, this);
  m_pressed = false;
  m_mouseInControl = false;
}

void TMyButton::Schedule() {
  Fl::remove_timeout(OnTimeout, this);
  if (m_timer && m_timer->Running()) Fl::add_timeout(m_timer->Remaining(m_clock.Tick()) / 1000.0, OnTimeout, this);
}

void TMyButton::OnTimeout(void* self) { static_cast<TMyButton*>(self)->CheckRepeat(); }

void TMyButton::CheckRepeat() {
  if (!m_timer) return;
  const uint32_t now = m_clock.Tick();
  const bool fire = m_timer->Tick(now);
  if (fire) m_timer->SetInterval(now, kRepeatMs);
  Schedule();
  if (fire && OnMousePressed) OnMousePressed(m_timer.get());
}

int TMyButton::handle(int event) {
  switch (event) {
    case FL_HIDE:
    case FL_DEACTIVATE:
      EndPress();
      return Fl_Widget::handle(event);
    case FL_ENTER:
      PointerEnters();
      return 1;
    case FL_LEAVE:
      PointerLeaves();
      return 1;
    case FL_MOVE:
      return 1;
    case FL_PUSH:
      Press(Fl::event_button() == FL_LEFT_MOUSE);
      return 1;
    case FL_DRAG:
      // The pointer stays with the pressed button; crossing its edge counts
      // as leaving and entering.
      if (Fl::event_inside(this)) PointerEnters();
      else PointerLeaves();
      return 1;
    case FL_RELEASE: {
      const bool left = Fl::event_button() == FL_LEFT_MOUSE;
      const bool inside = Fl::event_inside(this) != 0;
      const bool completes = left && m_pressed;
      Release(left);
      if (!inside) PointerLeaves();
      if (completes && inside) Click();  // may close the window: nothing after it
      return 1;
    }
    case FL_SHORTCUT: {
      const std::string accel = AccelChar();
      const std::string_view key = Fl::event_text() ? std::string_view(Fl::event_text(), size_t(Fl::event_length()))
                                                    : std::string_view();
      if (accel.empty() || key.empty() || !active() || !visible_r() || !window() || !window()->shown()) return 0;
      if (LowerChar(accel) != LowerChar(key)) return 0;
      Click();
      return 1;
    }
    default:
      return Fl_Widget::handle(event);
  }
}

}  // namespace kx
