// The placeholders of window texts: "<ScreensaverName>", "<CompanyName>"
// and "<Website>" stand for the project's product name, publisher and web
// site.
#include <algorithm>
#include <array>
#include <map>
#include <utility>

#include "package/uText.h"
#include "ui/uAnsiText.h"
#include "ui/uKXForms.h"

namespace kx {
namespace {

constexpr size_t kPlaceholderCount = 3;
constexpr std::array<std::string_view, kPlaceholderCount> kPlaceholders = {"<ScreensaverName>", "<CompanyName>",
                                                                          "<Website>"};
// Bytes read past the bound, enough to see whether a UTF-8 character crosses it.
constexpr size_t kUtf8Lookahead = 3;

// Replaces every occurrence of each placeholder in turn, with the result of
// replacing the earlier ones, as find-and-replace-all over the whole text
// would: a product name holding "<CompanyName>" gets it replaced, one holding
// "<ScreensaverName>" does not. It is done in one pass through a chain of
// stages, one per placeholder, each handing what it makes to the next, and
// stops once Limit bytes have come out.
//
// A placeholder starts with its only '<', so a partial match that fails can
// never hide the start of another: a stage only remembers how many bytes of
// its placeholder it has seen. A value handed on is the same bytes every
// time, so what the later stages make of it depends only on their states
// when it arrives; that is worked out once per state and reused. So the pass
// stays linear in the text and the values however many placeholders the text
// holds, and builds nothing longer than Limit.
class TPlaceholderExpansion {
 public:
  TPlaceholderExpansion(const TKXCProject& project, size_t limit)
      : m_values{project.Settings.ProductName, project.Settings.Publisher, project.Settings.Website},
        m_limit(limit) {}

  std::string Run(std::string_view text) {
    TStates states{};
    std::string out;
    Feed(0, text, states, out);
    // A placeholder begun at the end of the text stays as it is.
    for (size_t stage = 0; stage < kPlaceholderCount; ++stage)
      Feed(stage + 1, kPlaceholders[stage].substr(0, std::exchange(states[stage], 0)), states, out);
    return out;
  }

 private:
  // Per stage, how many bytes of its placeholder it has seen.
  using TStates = std::array<size_t, kPlaceholderCount>;
  // What handing one value on made: the bytes that came out and the later stages' states after it.
  struct TCarry {
    std::string Out;
    TStates States;
  };

  // Passes bytes through the stages from `stage` on (past the last one, into out).
  void Feed(size_t stage, std::string_view bytes, TStates& states, std::string& out) {
    if (stage == kPlaceholderCount) {
      out.append(bytes.substr(0, m_limit - std::min(m_limit, out.size())));
      return;
    }
    const std::string_view placeholder = kPlaceholders[stage];
    size_t i = 0;
    while (i < bytes.size() && out.size() < m_limit) {
      size_t& seen = states[stage];
      if (seen == 0) {
        const size_t start = std::min(bytes.find('<', i), bytes.size());
        if (start > i) Feed(stage + 1, bytes.substr(i, start - i), states, out);
        else seen = 1;
        i = start + (start == i);
      } else if (bytes[i] == placeholder[seen]) {
        ++i;
        if (++seen == placeholder.size()) {
          seen = 0;
          Replace(stage, states, out);
        }
      } else {
        // Not this placeholder: its begun part goes on as text, and bytes[i] is looked at afresh.
        Feed(stage + 1, placeholder.substr(0, std::exchange(seen, 0)), states, out);
      }
    }
  }

  // Hands the value of `stage`'s placeholder on to the later stages.
  void Replace(size_t stage, TStates& states, std::string& out) {
    if (stage + 1 == kPlaceholderCount) {
      Feed(kPlaceholderCount, m_values[stage], states, out);
      return;
    }
    auto key = std::make_pair(stage, states);
    auto it = m_carries.find(key);
    if (it == m_carries.end()) {
      TCarry carry{{}, states};
      Feed(stage + 1, m_values[stage], carry.States, carry.Out);
      it = m_carries.emplace(std::move(key), std::move(carry)).first;
    }
    Feed(kPlaceholderCount, it->second.Out, states, out);
    for (size_t later = stage + 1; later < kPlaceholderCount; ++later) states[later] = it->second.States[later];
  }

  const std::array<std::string_view, kPlaceholderCount> m_values;
  const size_t m_limit;
  std::map<std::pair<size_t, TStates>, TCarry> m_carries;
};

// Cuts text to at most limit bytes, before a UTF-8 character that would
// otherwise be split; bytes that are no such character are cut anywhere.
void CutToLength(std::string& text, size_t limit) {
  if (text.size() <= limit) return;
  size_t cut = limit;
  for (size_t start = limit; start > 0 && limit - start < kUtf8Lookahead;) {
    --start;
    if ((static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) continue;  // a continuation byte
    if (Utf8SequenceLength(std::string_view(text).substr(start)) > limit - start) cut = start;
    break;
  }
  text.resize(cut);
}

std::string ExpandWithin(std::string_view text, const TKXCProject& project, size_t limit) {
  std::string out = TPlaceholderExpansion(project, limit + kUtf8Lookahead).Run(text);
  CutToLength(out, limit);
  return out;
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
  return ExpandWithin(text, project, kMaxExpandedTextBytes);
}

// The bound is on the whole result, each line kept with its CR LF.
std::string ExpandPlaceholderLines(std::string_view text, const TKXCProject& project) {
  std::string out;
  for (const std::string& line : SplitLines(text)) {
    if (out.size() + 2 > kMaxExpandedTextBytes) break;
    out += ExpandWithin(line, project, kMaxExpandedTextBytes - 2 - out.size());
    out += "\r\n";
  }
  return out;
}

void ExpandWindowPlaceholders(TFormObject& window, const TKXCProject& project) {
  ExpandStringProperty(window, "Caption", project);
  ExpandControls(window, project);
}

}  // namespace kx
