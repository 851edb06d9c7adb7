// Texts of window definitions are 8-bit: whatever a definition's author saved.
// A byte run that is valid UTF-8 is taken as UTF-8; every other byte is read
// in Windows-1252, the code page a definition written on a Western Windows
// system uses. The result is always valid UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kx {

// The UTF-8 form of an 8-bit text.
std::string DecodeAnsiText(std::string_view bytes);

// The UTF-8 bytes of a Unicode code point; surrogates and values beyond
// U+10FFFF become U+FFFD.
void AppendCodePoint(std::string& out, uint32_t codePoint);

// The length of the valid UTF-8 sequence at the start of s (no overlong
// forms, no surrogates, nothing beyond U+10FFFF), or 0 when there is none.
size_t Utf8SequenceLength(std::string_view s);

}  // namespace kx
