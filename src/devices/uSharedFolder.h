// The shared folder of the authoring tools (GetSharedFolder, devices/uPlatform.h).
// The system names it where it can (SystemSharedFolder, in devices/posix and
// devices/win32); where it cannot, the running program's own folder stands in
// and the user is told, which needs a message box and so is decided here,
// above the system's calls.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace kx {

// The shared folder as the system names it, ending in its separator; nullopt
// when it names none. Linux: the first existing of $XDG_DATA_HOME (default
// ~/.local/share) and each folder of $XDG_DATA_DIRS (default
// /usr/local/share:/usr/share), each followed by "Ardmont/Common/", else
// the first of them (relative entries are ignored, as the XDG rules ask).
// Windows: the machine's "ProgramFilesDir" value of
// "SOFTWARE\Microsoft\Windows\CurrentVersion" through
// SharedFolderUnder; nullopt when the value cannot be read or is empty.
std::optional<std::string> SystemSharedFolder();

// base with "\" added when it does not end in one, followed by "Ardmont\Common\".
inline std::string SharedFolderUnder(std::string base) {
  if (base.empty() || base.back() != '\\') base += '\\';
  return base + "Ardmont\\Common\\";
}

// programFilesDir: the machine's "ProgramFilesDir" value, or nullopt when it
// cannot be read. When it is there and not empty, SharedFolderUnder of it;
// otherwise base := the running program's folder (its path up to and
// including the last "\") with the first occurrence of "Pellwick\" removed
// (compared without regard to case), which is shown to the user through
// showMessage, and the result is base + "Ardmont\Common\".
std::string SharedFolderFromProgramFiles(const std::optional<std::string>& programFilesDir,
                                         const std::string& programPath,
                                         const std::function<void(const std::string&)>& showMessage);

}  // namespace kx
