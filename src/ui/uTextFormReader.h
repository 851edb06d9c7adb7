// Reads the text notation of a window definition into a TFormObject tree.
// Definitions are outside data: nesting, string and binary sizes are capped,
// and every fault is a TTextFormError naming the line and column.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "ui/uTextForm.h"

namespace kx {

inline constexpr int kMaxFormNesting = 256;                    // objects, lists and collections together
inline constexpr size_t kMaxFormValueBytes = size_t(16) << 20;  // one string or binary value

class TTextFormError : public std::runtime_error {
 public:
  TTextFormError(int line, int column, const std::string& what);
  int Line;
  int Column;  // in characters, from 1
};

// The object block of an 8-bit text (see uAnsiText.h for how bytes become
// characters). Key words are recognised in any letter case.
TFormObject ReadTextForm(std::string_view text);

}  // namespace kx
