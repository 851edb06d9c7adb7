#include "ui/uFormValues.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <limits>

#include "raster/uSystemColor.h"

namespace kx {
namespace {

[[noreturn]] void WrongKind(std::string_view property, const char* expected) {
  throw TFormBuildError("Invalid property value: " + std::string(property) + " needs " + expected);
}

struct TNamedColor {
  std::string_view Name;
  int32_t Value;  // RGB as 0x00BBGGRR, or -1 - system index
};

constexpr int32_t Sys(int index) { return -1 - index; }

constexpr std::array<TNamedColor, 54> kColorNames = {{
    {"clBlack", 0x000000},          {"clMaroon", 0x000080},        {"clGreen", 0x008000},
    {"clOlive", 0x008080},          {"clNavy", 0x800000},          {"clPurple", 0x800080},
    {"clTeal", 0x808000},           {"clGray", 0x808080},          {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},            {"clLime", 0x00FF00},          {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},           {"clFuchsia", 0xFF00FF},       {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},          {"clLtGray", 0xC0C0C0},        {"clDkGray", 0x808080},
    {"clMoneyGreen", 0xC0DCC0},     {"clSkyBlue", 0xF0CAA6},       {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},        {"clNone", 0xFFFFFF},          {"clDefault", Sys(15)},
    {"clScrollBar", Sys(0)},        {"clBackground", Sys(1)},      {"clActiveCaption", Sys(2)},
    {"clInactiveCaption", Sys(3)},  {"clMenu", Sys(4)},            {"clWindow", Sys(5)},
    {"clWindowFrame", Sys(6)},      {"clMenuText", Sys(7)},        {"clWindowText", Sys(8)},
    {"clCaptionText", Sys(9)},      {"clActiveBorder", Sys(10)},   {"clInactiveBorder", Sys(11)},
    {"clAppWorkSpace", Sys(12)},    {"clHighlight", Sys(13)},      {"clHighlightText", Sys(14)},
    {"clBtnFace", Sys(15)},         {"clBtnShadow", Sys(16)},      {"clGrayText", Sys(17)},
    {"clBtnText", Sys(18)},         {"clInactiveCaptionText", Sys(19)}, {"clBtnHighlight", Sys(20)},
    {"cl3DDkShadow", Sys(21)},      {"cl3DLight", Sys(22)},        {"clInfoText", Sys(23)},
    {"clInfoBk", Sys(24)},          {"clHotLight", Sys(26)},       {"clGradientActiveCaption", Sys(27)},
    {"clGradientInactiveCaption", Sys(28)}, {"clMenuHighlight", Sys(29)}, {"clMenuBar", Sys(30)},
}};

TPixel Resolve(int32_t value) {
  if (value < 0) return SystemColor(-1 - value);
  return MakePixel(uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16));
}

struct TNamedCursor {
  std::string_view Name;
  TCursorKind Kind;
};
constexpr std::array<TNamedCursor, 22> kCursorNames = {{
    {"crDefault", TCursorKind::Default},   {"crArrow", TCursorKind::Arrow},
    {"crHandPoint", TCursorKind::HandPoint}, {"crIBeam", TCursorKind::IBeam},
    {"crCross", TCursorKind::Cross},       {"crHourGlass", TCursorKind::Wait},
    {"crSQLWait", TCursorKind::Wait},      {"crAppStart", TCursorKind::Wait},
    {"crHelp", TCursorKind::Help},         {"crSizeAll", TCursorKind::SizeAll},
    {"crSize", TCursorKind::SizeAll},      {"crDrag", TCursorKind::SizeAll},
    {"crMultiDrag", TCursorKind::SizeAll}, {"crSizeNS", TCursorKind::SizeNS},
    {"crVSplit", TCursorKind::SizeNS},     {"crSizeWE", TCursorKind::SizeWE},
    {"crHSplit", TCursorKind::SizeWE},     {"crSizeNWSE", TCursorKind::SizeNWSE},
    {"crSizeNESW", TCursorKind::SizeNESW}, {"crUpArrow", TCursorKind::Arrow},
    {"crNo", TCursorKind::Arrow},          {"crNone", TCursorKind::Hidden},
}};

}  // namespace

int32_t FormInt(std::string_view property, const TFormValue& v) {
  const auto* i = std::get_if<TFormInt>(&v.V);
  if (!i) WrongKind(property, "an integer");
  return int32_t(std::clamp<int64_t>(i->Value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

bool FormBool(std::string_view property, const TFormValue& v) {
  if (const auto* id = std::get_if<TFormIdent>(&v.V)) {
    if (SameText(id->Name, "True")) return true;
    if (SameText(id->Name, "False")) return false;
  }
  WrongKind(property, "True or False");
}

std::string FormString(std::string_view property, const TFormValue& v) {
  const auto* s = std::get_if<TFormString>(&v.V);
  if (!s) WrongKind(property, "a string");
  return s->Text;
}

std::string FormIdent(std::string_view property, const TFormValue& v) {
  const auto* id = std::get_if<TFormIdent>(&v.V);
  if (!id) WrongKind(property, "an identifier");
  return id->Name;
}

const std::string& FormBinary(std::string_view property, const TFormValue& v) {
  const auto* b = std::get_if<TFormBinary>(&v.V);
  if (!b) WrongKind(property, "binary data");
  return b->Bytes;
}

TPixel SystemColor(int index) { return SystemColorPixel(index); }

bool ColorByName(std::string_view name, TPixel& out) {
  for (const auto& c : kColorNames)
    if (SameText(c.Name, name)) {
      out = Resolve(c.Value);
      return true;
    }
  return false;
}

TPixel FormColor(std::string_view property, const TFormValue& v) {
  if (const auto* i = std::get_if<TFormInt>(&v.V)) {
    const auto c = uint32_t(i->Value);
    const uint32_t high = c >> 24;
    if (high == 0xFF || high == 0x80) return SystemColor(int(c & 0xFF));
    return Resolve(int32_t(c & 0xFFFFFF));
  }
  if (const auto* id = std::get_if<TFormIdent>(&v.V)) {
    TPixel p;
    if (ColorByName(id->Name, p)) return p;
  }
  WrongKind(property, "a colour");
}

TCursorKind FormCursor(std::string_view property, const TFormValue& v) {
  if (const auto* id = std::get_if<TFormIdent>(&v.V)) {
    for (const auto& c : kCursorNames)
      if (SameText(c.Name, id->Name)) return c.Kind;
    return TCursorKind::Default;  // a cursor of the authoring side's own
  }
  if (std::get_if<TFormInt>(&v.V)) return TCursorKind::Default;
  WrongKind(property, "a cursor");
}

bool SetFontProperty(TFontDesc& font, std::string_view sub, const TFormValue& v) {
  if (SameText(sub, "Name")) {
    font.Name = FormString("Font.Name", v);
  } else if (SameText(sub, "Height")) {
    font.Height = FormInt("Font.Height", v);
  } else if (SameText(sub, "Size")) {
    // Points at 96 dots per inch: the character height in pixels.
    font.Height = -int32_t((int64_t(FormInt("Font.Size", v)) * 96 + 36) / 72);
  } else if (SameText(sub, "Color")) {
    font.Color = FormColor("Font.Color", v);
  } else if (SameText(sub, "Style")) {
    const auto* set = std::get_if<TFormSet>(&v.V);
    if (!set) WrongKind("Font.Style", "a set");
    font.Bold = font.Italic = font.Underline = font.StrikeOut = false;
    for (const auto& n : set->Names) {
      if (SameText(n, "fsBold")) font.Bold = true;
      else if (SameText(n, "fsItalic")) font.Italic = true;
      else if (SameText(n, "fsUnderline")) font.Underline = true;
      else if (SameText(n, "fsStrikeOut")) font.StrikeOut = true;
    }
  } else if (SameText(sub, "Charset") || SameText(sub, "Pitch")) {
    // Text is Unicode here: the character set and pitch choose nothing.
  } else {
    return false;
  }
  return true;
}

}  // namespace kx
