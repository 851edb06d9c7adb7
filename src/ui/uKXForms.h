// The window definitions of a package ("KXGUI.kxu"): for each window its
// text form and its bindings, read once at start-up and never changed; the
// rewriting a text form undergoes before it becomes a window; and the
// placeholders of window texts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "package/uKXProject.h"
#include "ui/uAction.h"
#include "ui/uTextForm.h"

namespace kx {

// Far above any real definition file (pictures make them a few MB), small
// enough that a hostile one cannot exhaust memory.
inline constexpr size_t kMaxDefinitionFileBytes = size_t(64) << 20;
inline constexpr size_t kMaxDefinitionLines = 4'000'000;

class TKXForm {
 public:
  std::string WindowName;                    // from the first line of the text form
  std::vector<std::string> DefinitionLines;  // the text form as read
  TActionList Bindings;
};

class TKXForms {
 public:
  // The definitions in file order.
  std::vector<TKXForm> Forms;

  // Replaces the content with the definitions of the file at path. A file
  // that cannot be opened or is too large, a count line that is not a
  // decimal integer, a negative count, or fewer lines than a count announces
  // throws (the message names the file and line); the set is then empty.
  void LoadDefinitions(const std::string& path);
  // The same for a definitions text in memory.
  void LoadDefinitionsFromText(std::string_view text);

  // Appends one definition; its WindowName is the first line without its
  // first seven characters ("object "), cut before the first ":", without
  // blanks and control characters at either end; "" when the line holds no ":".
  void AddForm(std::string_view formText, std::string_view bindingText);

  // The first definition whose WindowName equals name (blanks and control
  // characters around it removed) ignoring letter case; throws when none does.
  const TKXForm& FindForm(std::string_view name) const;
};

// The text form a window is built from, joined with CR LF: the first line
// names the window's own class, every event-handler line and every
// BorderIcons, BorderStyle and FormStyle line is removed, and so is the
// first line that begins with Visible.
std::string PrepareDefinitionText(const TKXForm& definition);
std::vector<std::string> PrepareDefinitionLines(const TKXForm& definition);

// The longest a text gets by expanding its placeholders: far above any
// real caption, small enough that a text made of many placeholders for a
// long product name cannot exhaust memory.
inline constexpr size_t kMaxExpandedTextBytes = 65536;

// Replaces "<ScreensaverName>", "<CompanyName>" and "<Website>" (in that
// order, letter case respected) by the project's ProductName, Publisher and
// Website, in one pass. The result is cut at kMaxExpandedTextBytes, before a
// UTF-8 character that the cut would split.
std::string ExpandPlaceholders(std::string_view text, const TKXCProject& project);
// ExpandPlaceholders line by line; every line, the last included, ends with
// CR LF. An empty text stays empty. The whole result stays within
// kMaxExpandedTextBytes: the line at the bound is cut short, and the lines
// after it are left out.
std::string ExpandPlaceholderLines(std::string_view text, const TKXCProject& project);
// Expands the window's Caption, then, in order, the Caption of each TLabel,
// TBitBtn and TMyButton and the Text of each TMyMemo placed on the window or
// on a TPanel (recursively; a panel's own caption stays). Components inside
// any other container keep their texts.
void ExpandWindowPlaceholders(TFormObject& window, const TKXCProject& project);

}  // namespace kx
