#include "ui/uAction.h"

#include <stdexcept>

#include "package/uIniFile.h"
#include "package/uText.h"

namespace kx {

void TActionList::LoadFromText(std::string_view text) {
  Items.clear();
  if (text.empty()) return;
  const std::vector<std::string> lines = SplitLines(text);
  auto number = [&](size_t line, const char* what) {
    const std::optional<int32_t> n = line < lines.size() ? ParseInteger(lines[line]) : std::nullopt;
    if (!n)
      throw std::runtime_error("bindings line " + std::to_string(line + 1) + ": " + what + " '" +
                               (line < lines.size() ? lines[line] : std::string()) + "' is not a decimal integer");
    return *n;
  };
  const int32_t count = number(0, "the binding count");
  // Each binding takes five lines; the count is checked before anything is kept.
  if (count > 0 && (lines.size() - 1) / 5 < size_t(count))
    throw std::runtime_error("bindings: " + std::to_string(count) + " bindings announced, " +
                             std::to_string(lines.size() - 1) + " lines follow");
  for (int32_t i = 0; i < count; ++i) {
    const size_t at = 1 + size_t(i) * 5;
    TAction action;
    action.ActionType = uint8_t(uint32_t(number(at + 1, "the action number")));
    action.Param1 = lines[at + 2];
    action.Param2 = lines[at + 3];
    action.Param3 = lines[at + 4];
    Items.emplace_back(lines[at], std::move(action));
  }
}

const TAction* TActionList::FindAction(std::string_view componentName) const {
  for (const auto& [name, action] : Items)
    if (SameText(name, componentName)) return &action;
  return nullptr;
}

}  // namespace kx
