#include "ui/uStdControls.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "ui/uFormValues.h"
#include "ui/uPictureData.h"

namespace kx {
namespace {

// FLTK reads "@" as the start of a symbol; our texts are plain.
std::string NoSymbols(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '@') out += '@';
    out += c;
  }
  return out;
}

TAlignment ReadAlignment(std::string_view name, const TFormValue& v) {
  const std::string id = FormIdent(name, v);
  if (SameText(id, "taRightJustify")) return TAlignment::RightJustify;
  if (SameText(id, "taCenter")) return TAlignment::Center;
  return TAlignment::LeftJustify;
}

Fl_Align HorizontalAlign(TAlignment a) {
  return a == TAlignment::RightJustify ? FL_ALIGN_RIGHT : a == TAlignment::Center ? 0 : FL_ALIGN_LEFT;
}

TBevelCut ReadBevel(std::string_view name, const TFormValue& v) {
  const std::string id = FormIdent(name, v);
  if (SameText(id, "bvLowered")) return TBevelCut::Lowered;
  if (SameText(id, "bvRaised")) return TBevelCut::Raised;
  if (SameText(id, "bvSpace")) return TBevelCut::Space;
  return TBevelCut::Off;
}

// A raised or lowered frame of the given width inside the rectangle, in the
// classic highlight and shadow colours; returns the rectangle inside it.
void DrawBevel(TBevelCut cut, int width, int& x, int& y, int& w, int& h) {
  if (cut == TBevelCut::Off) return;
  const Fl_Color hi = FlColor(SystemColor(20)), lo = FlColor(SystemColor(16));
  for (int i = 0; i < width && w > 1 && h > 1; ++i) {
    if (cut != TBevelCut::Space) {
      fl_color(cut == TBevelCut::Raised ? hi : lo);
      fl_xyline(x, y, x + w - 1);
      fl_yxline(x, y, y + h - 1);
      fl_color(cut == TBevelCut::Raised ? lo : hi);
      fl_xyline(x, y + h - 1, x + w - 1);
      fl_yxline(x + w - 1, y, y + h - 1);
    }
    ++x, ++y, w -= 2, h -= 2;
  }
}

void ApplyWidgetFont(Fl_Widget& w, const TComponent& c) {
  w.labelfont(FlFont(c.Font));
  w.labelsize(FlFontSize(c.Font));
  w.labelcolor(FlColor(c.Font.Color));
}

}  // namespace

namespace {

// A completed left click (pressed and released over the widget) runs the
// component's click handler.
int HandleClick(TClickTracker& clicks, TComponent& c, Fl_Widget& w, int event) {
  bool clicked = false;
  const int r = clicks.Handle(w, event, clicked);
  if (clicked) c.Click();
  return r;
}

}  // namespace

// ---- TLabel ----

TLabel::TLabel() : Fl_Widget(0, 0, 65, 13) {}

bool TLabel::SetProperty(std::string_view name, const TFormValue& v) {
  if (SameText(name, "AutoSize")) AutoSize = FormBool(name, v);
  else if (SameText(name, "Transparent")) Transparent = FormBool(name, v);
  else if (SameText(name, "WordWrap")) WordWrap = FormBool(name, v);
  else if (SameText(name, "ShowAccelChar")) ShowAccelChar = FormBool(name, v);
  else if (SameText(name, "Alignment")) Alignment = ReadAlignment(name, v);
  else if (SameText(name, "Layout")) {
    const std::string id = FormIdent(name, v);
    Layout = SameText(id, "tlCenter") ? TTextLayout::Center : SameText(id, "tlBottom") ? TTextLayout::Bottom : TTextLayout::Top;
  } else if (SameText(name, "FocusControl")) {
  } else return false;
  return true;
}

std::string TLabel::DisplayText() const {
  std::string t = NoSymbols(Caption);
  if (ShowAccelChar) return t;
  std::string out;
  for (char c : t) {
    if (c == '&') out += '&';
    out += c;
  }
  return out;
}

void TLabel::AdjustSize() {
  if (!AutoSize) return;
  SetFlFont(Font);
  const std::string text = DisplayText();
  int tw = WordWrap ? w() : 0, th = 0;
  fl_measure(text.empty() ? " " : text.c_str(), tw, th, 0);
  if (text.empty()) tw = 0;
  th = std::max(th, fl_height());
  const int nw = WordWrap ? w() : tw;
  int nx = x();
  if (!WordWrap && Alignment == TAlignment::RightJustify) nx = x() + w() - nw;
  else if (!WordWrap && Alignment == TAlignment::Center) nx = x() + (w() - nw) / 2;
  resize(nx, y(), nw, th);
}

void TLabel::Loaded() { AdjustSize(); }

void TLabel::draw() {
  if (!Transparent) {
    fl_color(FlColor(Color));
    fl_rectf(x(), y(), w(), h());
  }
  if (Caption.empty()) return;
  SetFlFont(Font);
  if (!active_r()) fl_color(FlColor(SystemColor(17)));
  Fl_Align a = FL_ALIGN_INSIDE | FL_ALIGN_CLIP | HorizontalAlign(Alignment);
  a |= Layout == TTextLayout::Top ? FL_ALIGN_TOP : Layout == TTextLayout::Bottom ? FL_ALIGN_BOTTOM : 0;
  if (WordWrap) a |= FL_ALIGN_WRAP;
  fl_draw(DisplayText().c_str(), x(), y(), w(), h(), a, nullptr, 0);
}

int TLabel::handle(int event) { return HandleClick(m_clicks, *this, *this, event); }

// ---- TImage ----

TImage::TImage() : Fl_Widget(0, 0, 105, 105) {}

bool TImage::SetProperty(std::string_view name, const TFormValue& v) {
  if (SameText(name, "Picture.Data")) Picture.Assign(DecodePictureData(FormBinary(name, v)));
  else if (SameText(name, "AutoSize")) AutoSize = FormBool(name, v);
  else if (SameText(name, "Stretch")) Stretch = FormBool(name, v);
  else if (SameText(name, "Proportional")) Proportional = FormBool(name, v);
  else if (SameText(name, "Center")) Center = FormBool(name, v);
  else if (SameText(name, "Transparent")) Picture.SetTransparent(FormBool(name, v));
  else if (SameText(name, "IncrementalDisplay")) {
  } else return false;
  return true;
}

void TImage::Loaded() {
  if (AutoSize && !Picture.Empty()) size(Picture.Width(), Picture.Height());
}

void TImage::draw() {
  if (Picture.Empty()) return;
  fl_push_clip(x(), y(), w(), h());
  int pw = Picture.Width(), ph = Picture.Height();
  if (Stretch || (Proportional && (pw > w() || ph > h()))) {
    if (Proportional) {
      // Scaled to fit inside the control, keeping the picture's shape.
      if (int64_t(w()) * ph < int64_t(h()) * pw) {
        ph = int(int64_t(ph) * w() / pw), pw = w();
      } else {
        pw = int(int64_t(pw) * h() / ph), ph = h();
      }
    } else {
      pw = w(), ph = h();
    }
  }
  const int px = x() + (Center ? (w() - pw) / 2 : 0), py = y() + (Center ? (h() - ph) / 2 : 0);
  Picture.DrawStretched(px, py, std::max(pw, 1), std::max(ph, 1));
  fl_pop_clip();
}

int TImage::handle(int event) { return HandleClick(m_clicks, *this, *this, event); }

// ---- TButton, TBitBtn ----

TButton::TButton() : Fl_Button(0, 0, 75, 25) {
  box(FL_UP_BOX);
  down_box(FL_DOWN_BOX);
}

bool TButton::SetProperty(std::string_view name, const TFormValue& v) {
  if (SameText(name, "Cancel")) {
    Cancel = FormBool(name, v);
    return true;
  }
  if (SameText(name, "Default") || SameText(name, "ModalResult") ||
      SameText(name, "TabStop") || SameText(name, "WordWrap"))
    return true;
  return false;
}

void TButton::Loaded() {
  copy_label(NoSymbols(Caption).c_str());
  ApplyWidgetFont(*this, *this);
  color(FlColor(Color));
  selection_color(FlColor(Color));
}

void TButton::draw() { Fl_Button::draw(); }

namespace {
struct TKindCaption {
  std::string_view Kind, Caption;
};
constexpr TKindCaption kKindCaptions[] = {
    {"bkOK", "OK"},          {"bkCancel", "Cancel"}, {"bkHelp", "&Help"},   {"bkYes", "&Yes"},
    {"bkNo", "&No"},         {"bkClose", "&Close"},  {"bkAbort", "Abort"},  {"bkRetry", "&Retry"},
    {"bkIgnore", "&Ignore"}, {"bkAll", "&All"},
};
}  // namespace

TBitBtn::TBitBtn() {
  callback([](Fl_Widget*, void* self) { static_cast<TBitBtn*>(self)->Click(); }, this);
}

bool TBitBtn::SetProperty(std::string_view name, const TFormValue& v) {
  if (SameText(name, "Glyph.Data")) {
    Glyph.Assign(DecodeBitmapData(FormBinary(name, v)));
    Glyph.SetTransparent(true);
  } else if (SameText(name, "NumGlyphs")) {
    NumGlyphs = std::clamp(FormInt(name, v), 1, 4);
  } else if (SameText(name, "Kind")) {
    const std::string id = FormIdent(name, v);
    for (const auto& k : kKindCaptions)
      if (SameText(k.Kind, id)) m_kindCaption = k.Caption;
    if (SameText(id, "bkCancel") || SameText(id, "bkClose")) Cancel = true;
  } else if (SameText(name, "Layout") || SameText(name, "Spacing") || SameText(name, "Margin") ||
             SameText(name, "Style")) {
  } else {
    return TButton::SetProperty(name, v);
  }
  return true;
}

void TBitBtn::Loaded() {
  if (Caption.empty()) Caption = m_kindCaption;
  TButton::Loaded();
  label(nullptr);  // drawn with the glyph
  if (NumGlyphs > 1 && !Glyph.Empty()) {
    // The strip holds the up, disabled, down and latched glyphs side by side.
    const int gw = Glyph.Width() / NumGlyphs;
    TBitmap32 first(gw, Glyph.Height());
    for (int y = 0; y < first.Height(); ++y)
      std::copy_n(Glyph.Bitmap().Row(y), gw, first.Row(y));
    Glyph.Assign(std::move(first));
  }
}

void TBitBtn::draw() {
  Fl_Button::draw();
  // The glyph and the caption side by side, centred as one, 4 pixels apart.
  const std::string text = NoSymbols(Caption);
  SetFlFont(Font);
  int tw = 0, th = 0;
  if (!text.empty()) fl_measure(text.c_str(), tw, th, 0);
  const int gw = Glyph.Empty() ? 0 : Glyph.Width();
  const int gap = gw && tw ? 4 : 0;
  const int shift = value() ? 1 : 0;
  int left = x() + (w() - (gw + gap + tw)) / 2 + shift;
  if (gw) Glyph.Draw(left, y() + (h() - Glyph.Height()) / 2 + shift);
  if (!active_r()) fl_color(FlColor(SystemColor(17)));
  if (tw) fl_draw(text.c_str(), left + gw + gap, y() + shift, tw, h(), FL_ALIGN_LEFT | FL_ALIGN_INSIDE, nullptr, 0);
}

int TBitBtn::handle(int event) { return TButton::handle(event); }

// ---- TCheckBox ----

TCheckBox::TCheckBox() : Fl_Check_Button(0, 0, 97, 17) {}

bool TCheckBox::SetProperty(std::string_view name, const TFormValue& v) {
  if (SameText(name, "Checked")) value(FormBool(name, v) ? 1 : 0);
  else if (SameText(name, "State")) value(SameText(FormIdent(name, v), "cbUnchecked") ? 0 : 1);
  else if (SameText(name, "AllowGrayed") || SameText(name, "Alignment") || SameText(name, "TabStop") ||
           SameText(name, "WordWrap")) {
  } else return false;
  return true;
}

void TCheckBox::Loaded() {
  copy_label(NoSymbols(Caption).c_str());
  ApplyWidgetFont(*this, *this);
  color(FlColor(Color));
}

// ---- TEdit ----

TEdit::TEdit() : Fl_Input(0, 0, 121, 21) { Color = SystemColor(5); }

bool TEdit::SetProperty(std::string_view name, const TFormValue& v) {
  if (SameText(name, "Text")) value(FormString(name, v).c_str());
  else if (SameText(name, "ReadOnly")) ReadOnly = FormBool(name, v);
  else if (SameText(name, "MaxLength")) maximum_size(FormInt(name, v) > 0 ? FormInt(name, v) : 32767);
  else if (SameText(name, "PasswordChar")) {
    if (!FormString(name, v).empty() && FormString(name, v) != std::string(1, '\0')) input_type(FL_SECRET_INPUT);
  } else if (SameText(name, "CharCase") || SameText(name, "AutoSelect") || SameText(name, "TabStop") ||
             SameText(name, "AutoSize")) {
  } else return false;
  return true;
}

void TEdit::Loaded() {
  readonly(ReadOnly ? 1 : 0);
  textfont(FlFont(Font));
  textsize(FlFontSize(Font));
  textcolor(FlColor(Font.Color));
  color(FlColor(Color));
  box(FL_DOWN_BOX);
}

// ---- TPanel ----

TPanel::TPanel() : Fl_Group(0, 0, 185, 41) { end(); }

bool TPanel::SetProperty(std::string_view name, const TFormValue& v) {
  if (SameText(name, "BevelOuter")) BevelOuter = ReadBevel(name, v);
  else if (SameText(name, "BevelInner")) BevelInner = ReadBevel(name, v);
  else if (SameText(name, "BevelWidth")) BevelWidth = std::clamp(FormInt(name, v), 0, 64);
  else if (SameText(name, "BorderWidth")) BorderWidth = std::clamp(FormInt(name, v), 0, 64);
  else if (SameText(name, "Alignment")) Alignment = ReadAlignment(name, v);
  else if (SameText(name, "FullRepaint") || SameText(name, "Locked") || SameText(name, "UseDockManager") ||
           SameText(name, "TabStop")) {
  } else return false;
  return true;
}

void TPanel::Loaded() { color(FlColor(Color)); }

void TPanel::draw() {
  int bx = x(), by = y(), bw = w(), bh = h();
  fl_color(FlColor(Color));
  fl_rectf(bx, by, bw, bh);
  DrawBevel(BevelOuter, BevelWidth, bx, by, bw, bh);
  bx += BorderWidth, by += BorderWidth, bw -= 2 * BorderWidth, bh -= 2 * BorderWidth;
  DrawBevel(BevelInner, BevelWidth, bx, by, bw, bh);
  if (!Caption.empty() && bw > 0 && bh > 0) {
    SetFlFont(Font);
    fl_draw(NoSymbols(Caption).c_str(), bx, by, bw, bh, FL_ALIGN_INSIDE | FL_ALIGN_CLIP | HorizontalAlign(Alignment),
            nullptr, 0);
  }
  draw_children();
}

int TPanel::handle(int event) {
  if (const int r = Fl_Group::handle(event)) return r;
  return HandleClick(m_clicks, *this, *this, event);
}

// ---- TPageControl, TTabSheet ----

TPageControl::TPageControl() : Fl_Tabs(0, 0, 289, 193) { end(); }

bool TPageControl::SetProperty(std::string_view name, const TFormValue& v) {
  if (SameText(name, "ActivePage")) ActivePageName = FormIdent(name, v);
  else if (SameText(name, "TabHeight")) TabHeight = std::clamp(FormInt(name, v), 0, 256);
  else if (SameText(name, "TabIndex") || SameText(name, "TabOrder") || SameText(name, "TabWidth") ||
           SameText(name, "MultiLine") || SameText(name, "Style") || SameText(name, "TabPosition")) {
  } else return false;
  return true;
}

void TPageControl::Loaded() {
  ApplyWidgetFont(*this, *this);
  color(FlColor(Color));
  selection_color(FlColor(Color));
}

void TPageControl::PageArea(int& px, int& py, int& pw, int& ph) const {
  fl_font(FlFont(Font), FlFontSize(Font));
  const int tab = TabHeight > 0 ? TabHeight : fl_height() + 8;
  px = x() + 4, py = y() + tab + 4, pw = std::max(0, w() - 8), ph = std::max(0, h() - tab - 8);
}

TTabSheet::TTabSheet() : Fl_Group(0, 0, 281, 165) {
  end();
  box(FL_FLAT_BOX);
}

bool TTabSheet::SetProperty(std::string_view name, const TFormValue& v) {
  if (SameText(name, "PageIndex") || SameText(name, "ImageIndex") || SameText(name, "TabVisible") ||
      SameText(name, "Highlighted"))
    return true;
  return false;
}

void TTabSheet::Loaded() {
  copy_label(NoSymbols(Caption).c_str());
  ApplyWidgetFont(*this, *this);
  color(FlColor(Color));
  selection_color(FlColor(Color));
}

// ---- TForm, TTimer ----

TForm::TForm() : Fl_Group(0, 0, 320, 240) {
  end();
  box(FL_FLAT_BOX);
}

void TForm::Loaded() { color(FlColor(Color)); }

bool TTimer::SetProperty(std::string_view name, const TFormValue& v) {
  return SameText(name, "Interval") || SameText(name, "Enabled");
}

}  // namespace kx
