// The tree of a text form: nested object blocks with their property lines,
// as the reader finds them. Any class name and any property is kept; what a
// window can be built from is the builder's decision.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kx {

struct TFormValue;
struct TFormProperty;

struct TFormInt {
  int64_t Value = 0;
};
// A floating-point value kept as written, suffix (S, C, D) included.
struct TFormFloat {
  std::string Text;
};
struct TFormIdent {
  std::string Name;
};
// The text in UTF-8.
struct TFormString {
  std::string Text;
};
struct TFormSet {
  std::vector<std::string> Names;
};
struct TFormList {
  std::vector<TFormValue> Items;
};
struct TFormBinary {
  std::string Bytes;
};
struct TCollectionItem {
  std::optional<int32_t> Index;
  std::vector<TFormProperty> Props;
};
struct TFormCollection {
  std::vector<TCollectionItem> Items;
};

struct TFormValue {
  std::variant<TFormInt, TFormFloat, TFormIdent, TFormString, TFormSet, TFormList, TFormBinary, TFormCollection> V;
};

struct TFormProperty {
  std::string Name;  // dotted for a sub-object: "Font.Name"
  TFormValue Value;
};

enum class TObjectKind { Object, Inherited, Inline };

struct TFormObject {
  TObjectKind Kind = TObjectKind::Object;
  std::string Name;  // "" for an unnamed object
  std::string ClassName;
  std::optional<int32_t> Index;
  std::vector<TFormProperty> Props;
  std::vector<TFormObject> Children;

  // The first property of that name (ignoring letter case), or null.
  const TFormProperty* FindProperty(std::string_view name) const;
  TFormProperty* FindProperty(std::string_view name);
};

}  // namespace kx
