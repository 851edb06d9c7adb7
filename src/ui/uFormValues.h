// Reading the values of a text form's property lines as the kinds a
// component expects; a value of another kind throws TFormBuildError naming
// the property.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "package/uText.h"  // SameText
#include "raster/uBitmap.h"
#include "ui/uComponent.h"
#include "ui/uTextForm.h"

namespace kx {

int32_t FormInt(std::string_view property, const TFormValue& v);  // clamped to 32 bits
bool FormBool(std::string_view property, const TFormValue& v);    // True or False
std::string FormString(std::string_view property, const TFormValue& v);
std::string FormIdent(std::string_view property, const TFormValue& v);
const std::string& FormBinary(std::string_view property, const TFormValue& v);

// A colour: a name (clBlack, clBtnFace, ...) or an integer whose low three
// bytes are red, green and blue, or, with the high byte 255 (or 128), a
// system colour of the classic Windows scheme by the index in its low byte.
TPixel FormColor(std::string_view property, const TFormValue& v);
// The colour of a name, or false when the name is none.
bool ColorByName(std::string_view name, TPixel& out);
// A system colour by its index (clBtnFace is 15); black for an unknown one.
TPixel SystemColor(int index);

TCursorKind FormCursor(std::string_view property, const TFormValue& v);

// Applies a Font.* property line (Name, Height, Size, Color, Style, Charset,
// Pitch); false for a sub-property fonts do not have.
bool SetFontProperty(TFontDesc& font, std::string_view subProperty, const TFormValue& v);

}  // namespace kx
