// Modal message boxes with an OK button and the symbol the message calls
// for, and questions with Yes and No. The windowing layer installs handlers
// that show real boxes; until then, and wherever there is no display, the
// message goes to stderr (and a question is answered No, so nothing happens
// that nobody agreed to). Once a stop signal is taken no box shows: the
// caller waits for the program's end.
#pragma once

#include <concepts>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace kx {

// The symbol beside a message: information (the default), a warning about
// something the user asked for that did not happen, or an error that stopped
// an action.
enum class TMessageKind { Information, Warning, Error };

// What shows a message. Handlers that have no use for the symbol (most
// tests, printing) take the text alone.
class TMessageBoxHandler {
 public:
  TMessageBoxHandler() = default;
  TMessageBoxHandler(std::nullptr_t) {}
  template <class F>
    requires std::invocable<F&, const std::string&, TMessageKind>
  TMessageBoxHandler(F f) : m_show(std::move(f)) {}
  template <class F>
    requires(std::invocable<F&, const std::string&> && !std::invocable<F&, const std::string&, TMessageKind>)
  TMessageBoxHandler(F f) : m_show([f = std::move(f)](const std::string& text, TMessageKind) mutable { f(text); }) {}

  explicit operator bool() const { return bool(m_show); }
  friend bool operator==(const TMessageBoxHandler& h, std::nullptr_t) { return !h; }
  void operator()(const std::string& text, TMessageKind kind) const { m_show(text, kind); }

 private:
  std::function<void(const std::string&, TMessageKind)> m_show;
};

// Shows text and returns when the user has closed the box.
void ShowMessageBox(const std::string& text, TMessageKind kind = TMessageKind::Information);

// Installs a handler (an empty one restores the default) and returns the previous one.
TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler);

// The default, for every kind: one line "message: <text>" on stderr, CR and LF shown as \r and \n.
void PrintMessageBox(const std::string& text);

// Answers a question box: true for Yes.
using TYesNoHandler = std::function<bool(const std::string& text)>;

// Shows text with a question symbol and the buttons Yes and No; true when
// the user chose Yes (closing the box otherwise is No).
bool AskYesNo(const std::string& text);

// Installs a handler (an empty one restores the default) and returns the previous one.
TYesNoHandler SetYesNoHandler(TYesNoHandler handler);

// The default: one line "question: <text>" on stderr, as PrintMessageBox
// writes it; the answer is No.
bool PrintYesNo(const std::string& text);

}  // namespace kx
