// Windows built from the package's window definitions by name.
#pragma once

#include <memory>
#include <string_view>

#include "config/FKXConfigWindow.h"
#include "config/uConfigContext.h"

namespace kx {

// Builds the window of that name, ready to show: found by name (blanks
// around it ignored), its text form prepared, read and instantiated, its
// placeholders expanded, its frame set and SaveOnClose on. Throws when no
// definition has the name or the text form cannot become a window.
std::unique_ptr<TfmKXCOnfigWindow> BuildDefinedWindow(TConfigContext& context, std::string_view name);

// Builds that window, shows it modally and destroys it when it closes.
void ShowDefinedWindow(TConfigContext& context, std::string_view name);

}  // namespace kx
