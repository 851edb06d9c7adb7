#include "tools/uIdleDaemons.h"

#include <stdexcept>

namespace kxtool {
namespace {

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }

// The pattern pkill -x compares with a whole command line: the line's
// characters, those that mean something in an extended regular expression
// taken literally.
std::string LiteralPattern(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (std::string_view("\\.[]()*+?{}|^$").find(c) != std::string_view::npos) out += '\\';
    out += c;
  }
  return out;
}

// swayidle splits each line of its file as the shell splits words: a single
// quoted word reaches the shell that runs it unchanged.
std::string SingleQuoted(std::string_view text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// hypridle's configuration language ends a value at "#" unless it is doubled.
std::string HyprValue(std::string_view text) {
  std::string out;
  for (char c : text) out += c == '#' ? std::string("##") : std::string(1, c);
  return out;
}

std::string Comment(const std::string& name) {
  return "# " + name + ": the screensaver after " + std::to_string(kIdleSeconds / 60) +
         " minutes idle (added by kxtool install, removed by kxtool uninstall)\n";
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace

std::string_view IdleDaemonName(TIdleDaemon daemon) {
  return daemon == TIdleDaemon::Swayidle ? "swayidle" : "hypridle";
}

std::optional<TIdleDaemon> IdleDaemonNamed(std::string_view name) {
  for (TIdleDaemon daemon : kIdleDaemons)
    if (IdleDaemonName(daemon) == name) return daemon;
  return std::nullopt;
}

std::string_view IdleConfigFile(TIdleDaemon daemon) {
  return daemon == TIdleDaemon::Swayidle ? "swayidle/config" : "hypr/hypridle.conf";
}

std::string ShellWord(std::string_view word) {
  bool plain = !word.empty();
  for (char c : word) {
    const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alnum && std::string_view("/._+,:@%=-").find(c) == std::string_view::npos) plain = false;
  }
  return plain ? std::string(word) : SingleQuoted(word);
}

std::string ShowCommand(const std::string& installed) { return ShellWord(installed) + " /S"; }

std::string StopCommand(const std::string& installed) {
  return "pkill -x -f " + ShellWord(LiteralPattern(installed + " /S"));
}

std::string IdleShowText(TIdleDaemon daemon, const std::string& installed) {
  const std::string show = ShowCommand(installed);
  return daemon == TIdleDaemon::Swayidle ? SingleQuoted(show) : HyprValue(show);
}

std::string IdleEntry(TIdleDaemon daemon, const std::string& name, const std::string& installed) {
  for (char c : installed)
    if (IsControl(c))
      throw std::runtime_error("the path " + installed + " has a control character; it cannot be named in " +
                               std::string(IdleDaemonName(daemon)) + "'s file");
  const std::string show = IdleShowText(daemon, installed), stop = StopCommand(installed);
  if (daemon == TIdleDaemon::Swayidle)
    return Comment(name) + "timeout " + std::to_string(kIdleSeconds) + " " + show + " resume " + SingleQuoted(stop);
  if (installed.find('$') != std::string::npos)
    throw std::runtime_error("the path " + installed + " has a \"$\", which hypridle's file takes for a variable");
  return Comment(name) + "listener {\n    timeout = " + std::to_string(kIdleSeconds) +
         "\n    on-timeout = " + show + "\n    on-resume = " + HyprValue(stop) + "\n}";
}

bool IsPlainText(std::string_view text) {
  for (char c : text)
    if (IsControl(c) && c != '\t' && c != '\n' && c != '\r' && c != '\f') return false;
  return true;
}

// The three shapes of an added entry E (which has no final line break):
//   no file before:                 E "\n"
//   a file ending in a line break:  text "\n" E "\n"
//   any other file (empty too):     text "\n\n" E
// Each is told from the others by its end, so the old text comes back exactly.
std::string AddIdleEntry(std::string_view text, std::string_view entry, bool exists) {
  const std::string e(entry);
  if (!exists) return e + "\n";
  if (EndsWith(text, "\n")) return std::string(text) + "\n" + e + "\n";
  return std::string(text) + "\n\n" + e;
}

std::optional<TRemovedEntry> RemoveIdleEntry(std::string_view text, std::string_view entry) {
  const std::string e(entry);
  if (text == e + "\n") return TRemovedEntry{"", true};
  for (const std::string& added : {"\n" + e + "\n", "\n\n" + e})
    if (EndsWith(text, added)) return TRemovedEntry{std::string(text.substr(0, text.size() - added.size())), false};
  // Lines were added after the entry: it goes with the blank line before it.
  for (const std::string& added : {"\n" + e + "\n", e + "\n"}) {
    const size_t at = text.find(added);
    if (at == std::string_view::npos) continue;
    std::string rest(text);
    rest.erase(at, added.size());
    return TRemovedEntry{rest, false};
  }
  return std::nullopt;
}

}  // namespace kxtool
