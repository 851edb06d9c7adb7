// The placeholders of window texts: "<ScreensaverName>", "<CompanyName>"
// and "<Website>" stand for the project's product name, publisher and web
// site.
#include <utility>

#include "package/uText.h"
#include "ui/uKXForms.h"

namespace kx {
namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

bool IsClass(const TFormObject& o, std::string_view name) { return SameText(o.ClassName, name); }

void ExpandStringProperty(TFormObject& o, std::string_view name, const TKXCProject& project) {
  if (TFormProperty* p = o.FindProperty(name))
    if (auto* s = std::get_if<TFormString>(&p->Value.V)) s->Text = ExpandPlaceholders(s->Text, project);
}

void ExpandControls(TFormObject& container, const TKXCProject& project) {
  for (TFormObject& c : container.Children) {
    if (IsClass(c, "TLabel") || IsClass(c, "TBitBtn") || IsClass(c, "TMyButton")) ExpandStringProperty(c, "Caption", project);
    else if (IsClass(c, "TMyMemo")) ExpandStringProperty(c, "Text", project);
    else if (IsClass(c, "TPanel")) ExpandControls(c, project);
  }
}

}  // namespace

// The values go in as they are: the texts expanded here are captions and
// parameters, no longer text-form notation, so an apostrophe is not doubled
// (Joe's shows as Joe's).
std::string ExpandPlaceholders(std::string_view text, const TKXCProject& project) {
  std::string out(text);
  ReplaceAll(out, "<ScreensaverName>", project.Settings.ProductName);
  ReplaceAll(out, "<CompanyName>", project.Settings.Publisher);
  ReplaceAll(out, "<Website>", project.Settings.Website);
  return out;
}

std::string ExpandPlaceholderLines(std::string_view text, const TKXCProject& project) {
  std::string out;
  for (const std::string& line : SplitLines(text)) out += ExpandPlaceholders(line, project) + "\r\n";
  return out;
}

void ExpandWindowPlaceholders(TFormObject& window, const TKXCProject& project) {
  ExpandStringProperty(window, "Caption", project);
  ExpandControls(window, project);
}

}  // namespace kx
