// The bindings of a window definition: which named control runs which
// numbered action, with up to three text parameters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kx {

struct TAction {
  uint8_t ActionType = 0;  // the number of the file reduced modulo 256
  std::string Param1, Param2, Param3;
};

// The action numbers with a name; every other number does nothing.
struct TActionName {
  uint8_t Number;
  std::string_view Name;
};
inline constexpr TActionName kActionNames[] = {
    {0, "Open URL"},         {1, "Show window"},  {2, "Next picture"},  {3, "Previous picture"},
    {4, "Preview selected file"}, {5, "Open setting"}, {6, "Close window"}, {9, "Set as a Wallpaper"},
};

class TActionList {
 public:
  // The pairs (component name, binding) in file order.
  std::vector<std::pair<std::string, TAction>> Items;

  // Builds the list from a bindings section: a count K, then five lines per
  // binding (component, action number, Param1, Param2, Param3). An empty text
  // is an empty list. A count or action number that is not a decimal integer,
  // or fewer lines than the count announces, throws; a count below 0 is none.
  void LoadFromText(std::string_view text);

  // The first binding of that component, ignoring letter case, or null.
  const TAction* FindAction(std::string_view componentName) const;
};

}  // namespace kx
