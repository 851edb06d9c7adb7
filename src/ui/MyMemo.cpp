#include "ui/MyMemo.h"

#include <FL/Fl.H>
#include <FL/fl_utf8.h>

#include <cstdlib>
#include <limits>

#include "package/uText.h"
#include "ui/uFlDraw.h"
#include "ui/uFormEnums.h"
#include "ui/uFormValues.h"

namespace kx {
namespace {

constexpr TEnumName<TScrollStyle> kScrollStyles[] = {
    {"ssNone", TScrollStyle::NoBars},
    {"ssHorizontal", TScrollStyle::Horizontal},
    {"ssVertical", TScrollStyle::Vertical},
    {"ssBoth", TScrollStyle::Both},
};
constexpr TEnumName<TMemoAlignment> kAlignments[] = {
    {"taLeftJustify", TMemoAlignment::LeftJustify},
    {"taRightJustify", TMemoAlignment::RightJustify},
    {"taCenter", TMemoAlignment::Center},
};

std::string BufferText(const Fl_Text_Buffer& buffer) {
  char* t = const_cast<Fl_Text_Buffer&>(buffer).text();
  std::string s = t ? t : "";
  std::free(t);
  return s;
}

int CharCount(std::string_view s) { return fl_utf_nb_char(reinterpret_cast<const unsigned char*>(s.data()), int(s.size())); }

// The bytes of the first n characters of s.
int BytesOfChars(std::string_view s, int n) {
  size_t at = 0;
  for (int i = 0; i < n && at < s.size(); ++i) {
    const int len = fl_utf8len(s[at]);
    at += len > 0 ? size_t(len) : 1;
  }
  return int(std::min(at, s.size()));
}

}  // namespace

TMyMemo::TMyMemo() : Fl_Text_Editor(0, 0, 185, 89) {
  buffer(&Buffer);
  Color = SystemColor(5);  // clWindow
  wrap_mode(WRAP_AT_BOUNDS, 0);
  scrollbar_width(0);
}

bool TMyMemo::SetProperty(std::string_view name, const TFormValue& v) {
  if (SameText(name, "Text")) SetText(FormString(name, v));
  else if (SameText(name, "Lines.Strings")) {
    const auto* list = std::get_if<TFormList>(&v.V);
    if (!list) throw TFormBuildError("Invalid property value: Lines.Strings needs a list of strings");
    std::vector<std::string> lines;
    for (const auto& item : list->Items) lines.push_back(FormString(name, item));
    SetLines(lines);
  } else if (SameText(name, "ReadOnly")) SetReadOnly(FormBool(name, v));
  else if (SameText(name, "WordWrap")) SetWordWrap(FormBool(name, v));
  else if (SameText(name, "ScrollBars")) SetScrollBars(FormEnum(name, v, kScrollStyles));
  else if (SameText(name, "Alignment")) Alignment = FormEnum(name, v, kAlignments);
  else if (SameText(name, "MaxLength")) MaxLength = std::max(FormInt(name, v), 0);
  else return false;
  return true;
}

void TMyMemo::Loaded() {
  color(FlColor(Color));
  textfont(FlFont(Font));
  textsize(FlFontSize(Font));
  textcolor(FlColor(Font.Color));
  cursor_color(FlColor(Font.Color));
  // The editor measured its lines and their height with the font it had when
  // the text and the size came; setting the wrap mode counts them again
  // with this font, and the resize in it takes the new line height.
  resize(x(), y(), w(), h());
  wrap_mode(m_wordWrap ? WRAP_AT_BOUNDS : WRAP_NONE, 0);
  if (Enabled) activate();
  else deactivate();
  redraw();
}

std::string TMyMemo::Text() const {
  std::string out;
  for (const auto& line : Lines()) {
    out += line;
    out += "\r\n";
  }
  return out;
}

void TMyMemo::SetText(std::string_view text) { SetLines(SplitLines(text)); }

std::vector<std::string> TMyMemo::Lines() const {
  // The buffer holds every line followed by LF; a last line without one
  // (typed by the user) counts as well.
  const std::string s = BufferText(Buffer);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < s.size()) {
    size_t end = s.find('\n', start);
    if (end == std::string::npos) end = s.size();
    lines.push_back(s.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

void TMyMemo::SetLines(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& line : lines) {
    // The buffer is a C string: a NUL would cut the text there.
    for (char c : line)
      if (c != '\0') s += c;
    s += '\n';
  }
  Buffer.text(s.c_str());
  insert_position(0);
  redraw();
}

void TMyMemo::SetReadOnly(bool v) {
  m_readOnly = v;
  if (v) hide_cursor();
  else show_cursor();
}

void TMyMemo::SetWordWrap(bool v) {
  m_wordWrap = v;
  wrap_mode(v ? WRAP_AT_BOUNDS : WRAP_NONE, 0);
}

void TMyMemo::SetScrollBars(TScrollStyle v) {
  // The editor shows each scroll bar when its content needs it; without
  // scroll bars the text only moves with the cursor.
  m_scrollBars = v;
  scrollbar_width(v == TScrollStyle::NoBars ? 0 : Fl::scrollbar_size());
  resize(x(), y(), w(), h());
}

int TMyMemo::Room() const {
  if (MaxLength <= 0) return std::numeric_limits<int>::max();
  auto& buffer = const_cast<Fl_Text_Buffer&>(Buffer);
  const int selected = CharCount(buffer.selected() ? std::string(buffer.selection_text()) : std::string());
  return MaxLength - (CharCount(BufferText(Buffer)) - selected);
}

int TMyMemo::handle(int event) {
  // Read-only: the viewer's handling only (selecting and copying).
  if (m_readOnly) return Fl_Text_Display::handle(event);
  if (event == FL_KEYBOARD && MaxLength > 0) {
    const int key = Fl::event_key();
    const bool enter = key == FL_Enter || key == FL_KP_Enter;
    const bool typed = Fl::event_length() > 0 && uint8_t(Fl::event_text()[0]) >= 0x20 &&
                       Fl::event_text()[0] != 0x7F && !Fl::event_state(FL_CTRL | FL_ALT | FL_META);
    if ((enter || typed) && Room() <= 0) return 1;  // the key is used up: nothing more fits
  }
  if (event == FL_PASTE && MaxLength > 0 && Fl::event_text()) {
    const int room = Room();
    if (room <= 0) return 1;
    const std::string_view pasted(Fl::event_text(), size_t(Fl::event_length()));
    if (CharCount(pasted) > room) Fl::e_length = BytesOfChars(pasted, room);
  }
  return Fl_Text_Editor::handle(event);
}

}  // namespace kx
