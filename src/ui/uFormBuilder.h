// Turns a read text form into a live window: one component of the named
// class for every object block, its property lines applied in order, placed
// on its enclosing container. The classes a definition may use are a fixed
// table; any other class stops the build.
#pragma once

#include <memory>
#include <string_view>

#include "ui/uComponent.h"
#include "ui/uKXFormParent.h"
#include "ui/uTextForm.h"

namespace kx {

// Larger windows are refused: no screen shows them, and their back buffers
// would take gigabytes. Components are cut to the larger of their window's
// and the screen's size.
inline constexpr int32_t kMaxWindowSide = 16384;

// A new component of a class of the table (letter case ignored), or null.
std::unique_ptr<TComponent> CreateComponent(std::string_view className);
// True when the class is one a click can run a binding on.
bool IsClickableClass(std::string_view className);

// Builds the form's components into root: root takes the header's name and
// the root object's property lines, every nested block becomes a component
// (listed in root.Components in creation order), and properties naming
// another component (ActiveControl, a page control's ActivePage) are
// resolved at the end. Throws TFormBuildError for an unknown class, a value
// of the wrong kind or a window too large.
void BuildWindow(TfmKXFormParent& root, const TFormObject& form);

}  // namespace kx
