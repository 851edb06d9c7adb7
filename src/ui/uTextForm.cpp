#include "ui/uTextForm.h"

#include "package/uText.h"

namespace kx {

const TFormProperty* TFormObject::FindProperty(std::string_view name) const {
  for (const TFormProperty& p : Props)
    if (SameText(p.Name, name)) return &p;
  return nullptr;
}

TFormProperty* TFormObject::FindProperty(std::string_view name) {
  return const_cast<TFormProperty*>(static_cast<const TFormObject*>(this)->FindProperty(name));
}

}  // namespace kx
