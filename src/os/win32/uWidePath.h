// UTF-8 paths turned into the wide form the W functions of Windows take, and
// back. Only the Windows side of the devices sees wide strings.
#pragma once

#include <string>

namespace kx {

// "" stays ""; bytes that are not UTF-8 give "" too, so that no other file
// than the one named is ever opened.
std::wstring WidePath(const std::string& utf8);
std::string Utf8Path(const std::wstring& wide);

}  // namespace kx
