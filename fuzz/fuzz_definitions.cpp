// Fuzzes the loading of window definitions with their bindings, from a
// file as the player reads it: every loaded window is found by its name,
// prepared, and its bindings' parameters expanded.
#include <cstdlib>
#include <stdexcept>

#include "fuzz/FuzzSupport.h"
#include "package/uText.h"
#include "ui/uKXForms.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kx::TKXForms forms;
  try {
    forms.LoadDefinitions(kxfuzz::WriteInput("KXGUI.kxu", data, size));
  } catch (const std::runtime_error&) {
    if (!forms.Forms.empty()) std::abort();  // a failed load leaves nothing half-read
    return 0;
  }
  kx::TKXCProject project;
  project.Settings.Publisher = "Joe's";
  for (const kx::TKXForm& form : forms.Forms) {
    const kx::TKXForm& found = forms.FindForm(form.WindowName);
    if (!kx::SameText(found.WindowName, form.WindowName)) std::abort();
    (void)kx::PrepareDefinitionText(form);
    for (const auto& [component, action] : form.Bindings.Items) {
      if (!form.Bindings.FindAction(component)) std::abort();
      (void)kx::ExpandPlaceholderLines(action.Param1, project);
    }
  }
  return 0;
}
