// Enumeration properties of window definitions: an identifier looked up in
// a table of (name, value) pairs, letter case ignored; any other identifier
// stops the build like a value of the wrong kind.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "ui/uComponent.h"
#include "ui/uFormValues.h"

namespace kx {

template <class E>
using TEnumName = std::pair<std::string_view, E>;

template <class E, size_t N>
E FormEnum(std::string_view property, const TFormValue& v, const TEnumName<E> (&names)[N]) {
  const std::string id = FormIdent(property, v);
  for (const auto& [name, value] : names)
    if (SameText(name, id)) return value;
  throw TFormBuildError("Invalid property value: " + std::string(property) + " has no value " + id);
}

}  // namespace kx
