// Small text helpers shared by the readers of the package's texts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

// Splits text into lines ended by CR LF, LF or CR; a final line ending adds no
// empty line.
std::vector<std::string> SplitLines(std::string_view text);

// Removes leading and trailing blanks and tabs.
std::string_view Trim(std::string_view s);

// ASCII case folding and comparison.
std::string UpperCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);

// Reads at most maxBytes of a file; "" when it cannot be opened.
std::string ReadFileText(const std::string& path, size_t maxBytes);

// The limit for texts the player reads whole (lists, settings): far above any
// real project's, small enough that a hostile file cannot exhaust memory.
inline constexpr size_t kMaxTextBytes = size_t(16) << 20;

}  // namespace kx
