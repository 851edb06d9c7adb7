#include "ui/uKXForms.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "os/uPackedFiles.h"
#include "package/uIniFile.h"
#include "package/uText.h"

namespace kx {
namespace {

// Blanks and control characters removed at both ends.
std::string_view TrimControls(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

std::string JoinLines(const std::vector<std::string>& lines, size_t first, size_t count, bool blankForEmpty) {
  std::string text;
  for (size_t i = first; i < first + count; ++i) {
    if (i > first) text += "\r\n";
    text += (blankForEmpty && lines[i].empty()) ? std::string(" ") : lines[i];
  }
  return text;
}

std::runtime_error LineError(size_t index, const std::string& what) {
  return std::runtime_error("line " + std::to_string(index + 1) + ": " + what);
}

// The count on line index, which must be a decimal integer.
int32_t CountAt(const std::vector<std::string>& lines, size_t index, const char* what) {
  if (index >= lines.size()) throw LineError(index, std::string("the file ends where ") + what + " should be");
  const std::optional<int32_t> n = ParseInteger(lines[index]);
  if (!n) throw LineError(index, std::string(what) + " '" + lines[index] + "' is not a decimal integer");
  return *n;
}

// The count on line index, checked against the lines that follow it.
size_t SectionAt(const std::vector<std::string>& lines, size_t index, const char* what) {
  const int32_t n = CountAt(lines, index, what);
  if (n < 0) throw LineError(index, std::string(what) + " " + std::to_string(n) + " is negative");
  const size_t remain = lines.size() - index - 1;
  if (size_t(n) > remain)
    throw LineError(index, std::string(what) + " announces " + std::to_string(n) + " lines, " +
                               std::to_string(remain) + " follow");
  return size_t(n);
}

// The package's definitions are read in place, from their range of the program file.
std::string ReadDefinitionFile(const std::string& path) {
  const TFileWindow window = OpenFileWindow(path);
  std::FILE* f = window.File.get();
  if (!f) throw std::runtime_error("cannot open the window definitions " + path);
  std::string text;
  char buf[65536];
  int64_t left = window.Size;
  for (size_t got; left > 0 && (got = std::fread(buf, 1, size_t(std::min<int64_t>(left, sizeof buf)), f)) > 0;) {
    left -= int64_t(got);
    if (text.size() + got > kMaxDefinitionFileBytes)
      throw std::runtime_error("the window definitions " + path + " are larger than 64 MB");
    text.append(buf, got);
  }
  if (std::ferror(f)) throw std::runtime_error("cannot read the window definitions " + path);
  return text;
}

}  // namespace

void TKXForms::LoadDefinitions(const std::string& path) {
  Forms.clear();
  const std::string text = ReadDefinitionFile(path);
  try {
    LoadDefinitionsFromText(text);
  } catch (const std::exception& e) {
    throw std::runtime_error(path + " " + e.what());
  }
}

void TKXForms::LoadDefinitionsFromText(std::string_view text) {
  Forms.clear();
  const size_t breaks = size_t(std::count_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }));
  if (breaks >= kMaxDefinitionLines)
    throw std::runtime_error("the window definitions have more than " + std::to_string(kMaxDefinitionLines) + " lines");
  const std::vector<std::string> lines = SplitLines(text);
  // An empty file is a package without windows (kxtool pack writes one for
  // a project that has none), not a damaged one.
  if (std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; })) {
    Forms.clear();
    return;
  }
  const int32_t windows = CountAt(lines, 0, "the window count");
  TKXForms loaded;
  size_t at = 0;
  for (int32_t w = 0; w < windows; ++w) {
    const size_t formLines = SectionAt(lines, ++at, "the text form's line count");
    const size_t formFirst = at + 1;
    at += formLines + 1;
    const size_t bindingLines = SectionAt(lines, at, "the bindings' line count");
    const size_t bindingsAt = at;
    at += bindingLines + 1;
    at += SectionAt(lines, at, "the trailing section's line count");
    try {
      loaded.AddForm(JoinLines(lines, formFirst, formLines, false), JoinLines(lines, bindingsAt + 1, bindingLines, true));
    } catch (const std::exception& e) {
      throw LineError(bindingsAt, e.what());
    }
  }
  Forms = std::move(loaded.Forms);
}

void TKXForms::AddForm(std::string_view formText, std::string_view bindingText) {
  TKXForm form;
  form.Bindings.LoadFromText(bindingText);
  form.DefinitionLines = SplitLines(formText);
  if (!form.DefinitionLines.empty()) {
    const std::string& first = form.DefinitionLines[0];
    const size_t colon = first.find(':', std::min<size_t>(7, first.size()));
    // A blank before the colon ("object Main : TForm") is no part of the name,
    // and FindForm trims what it is asked for the same way.
    if (colon != std::string::npos && first.size() > 7) form.WindowName = std::string(TrimControls(first.substr(7, colon - 7)));
  }
  Forms.push_back(std::move(form));
}

const TKXForm& TKXForms::FindForm(std::string_view name) const {
  const std::string_view wanted = TrimControls(name);
  for (const TKXForm& form : Forms)
    if (SameText(form.WindowName, wanted)) return form;
  throw std::runtime_error("there is no window named '" + std::string(wanted) + "'");
}

std::vector<std::string> PrepareDefinitionLines(const TKXForm& definition) {
  std::vector<std::string> lines;
  lines.reserve(definition.DefinitionLines.size());
  bool visibleSeen = false;
  for (size_t i = 0; i < std::max<size_t>(1, definition.DefinitionLines.size()); ++i) {
    // Whatever class the file named, the window is built as the configuration window.
    const std::string line =
        i == 0 ? "object " + definition.WindowName + ": TfmKXConfigWindow" : definition.DefinitionLines[i];
    const std::string_view t = TrimControls(line);
    // Event handlers: "On" followed by anything but a small letter ("OnClick", not "Once").
    if (t.starts_with("On") && (t.size() == 2 || t[2] < 'a' || t[2] > 'z')) continue;
    const std::string upper = UpperCase(t);
    if (upper.starts_with("BORDERICONS") || upper.starts_with("BORDERSTYLE") || upper.starts_with("FORMSTYLE"))
      continue;
    // The first Visible line is the window's own; it would show the window too early.
    if (upper.starts_with("VISIBLE") && !visibleSeen) {
      visibleSeen = true;
      continue;
    }
    lines.push_back(line);
  }
  return lines;
}

std::string PrepareDefinitionText(const TKXForm& definition) {
  const std::vector<std::string> lines = PrepareDefinitionLines(definition);
  return JoinLines(lines, 0, lines.size(), false);
}

}  // namespace kx
