// Fuzzes the text-form reader: any input either gives a tree or a
// TTextFormError with a line and column; the tree of a form read back from
// its prepared definition text must read again.
#include <cstdlib>
#include <string_view>

#include "ui/uKXForms.h"
#include "ui/uTextFormReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const kx::TFormObject root = kx::ReadTextForm(text);
    if (root.ClassName.empty()) std::abort();
  } catch (const kx::TTextFormError& e) {
    if (e.Line < 1 || e.Column < 1) std::abort();
  }
  // The same text as a window definition, rewritten as the builder reads it.
  kx::TKXForms forms;
  forms.AddForm(text, "");
  try {
    (void)kx::ReadTextForm(kx::PrepareDefinitionText(forms.Forms[0]));
  } catch (const kx::TTextFormError&) {
  }
  return 0;
}
