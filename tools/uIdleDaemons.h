// The lines that make an installed screensaver run on idle under a Wayland
// idle daemon, and how they are added to the daemon's configuration file and
// taken out again. Text only: the files are read and written by the install
// command.
//
// Each daemon starts the show with "<file> /S" through the shell after
// kIdleSeconds without input, and on the first input after that stops exactly
// that process with pkill (the show's own input handling usually ends it
// first; the stop covers a show whose window never got the input: another
// output focused, a lock screen on top, a compositor that keeps focus where
// it was).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kxtool {

enum class TIdleDaemon { Swayidle, Hypridle };

inline constexpr TIdleDaemon kIdleDaemons[] = {TIdleDaemon::Swayidle, TIdleDaemon::Hypridle};

// Ten minutes, the usual screensaver delay; the user edits the number.
inline constexpr int kIdleSeconds = 600;

// "swayidle" or "hypridle".
std::string_view IdleDaemonName(TIdleDaemon daemon);
// The daemon named so; nullopt for any other name.
std::optional<TIdleDaemon> IdleDaemonNamed(std::string_view name);
// Its configuration file below the user's configuration folder
// ($XDG_CONFIG_HOME, ~/.config): "swayidle/config", "hypr/hypridle.conf".
std::string_view IdleConfigFile(TIdleDaemon daemon);

// A word the shell takes as it is: unchanged when it has only letters,
// digits and "/._+,:@%=-", else in single quotes.
std::string ShellWord(std::string_view word);
// The shell command that starts the show: the installed file with /S.
std::string ShowCommand(const std::string& installed);
// The shell command that stops exactly the show ShowCommand started: its
// whole command line matched by pkill.
std::string StopCommand(const std::string& installed);

// The show command as the daemon's file spells it (quoted for swayidle,
// "#" doubled for hypridle): a file holding it already runs the show.
std::string IdleShowText(TIdleDaemon daemon, const std::string& installed);

// The entry of one screensaver in the daemon's file: a comment naming it,
// then the daemon's lines, without a final line break. Throws
// std::runtime_error when the installed path cannot be written into that
// file's syntax (a line break or a control character; for hypridle also "$",
// which its configuration language takes for a variable).
std::string IdleEntry(TIdleDaemon daemon, const std::string& name, const std::string& installed);

// True for a text a person edits: no NUL byte and no control character
// other than tab, line feed, carriage return and form feed.
bool IsPlainText(std::string_view text);

// The file's text with the entry added at its end, after a blank line. The
// last line break is placed so that RemoveIdleEntry finds how the file ended.
// A file that does not exist yet (exists false) is the entry alone.
std::string AddIdleEntry(std::string_view text, std::string_view entry, bool exists = true);

// The text as it was before AddIdleEntry, byte for byte, when the entry is
// still at its end as it was added; when it is elsewhere (lines added after
// it), the text without it and its blank line. nullopt when the text does
// not hold the entry. MadeByInstall: the file held the entry alone, as an
// install that created it wrote it (the caller then removes the file).
struct TRemovedEntry {
  std::string Text;
  bool MadeByInstall = false;
};
std::optional<TRemovedEntry> RemoveIdleEntry(std::string_view text, std::string_view entry);

}  // namespace kxtool
