// The shared folder as the Windows platform finds it, kept apart from the
// registry so that a Windows backend only supplies the registry value and a
// message box. On Linux GetSharedFolder (devices/uPlatform.h) answers from
// the XDG data folders instead, without a message.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace kx {

// programFilesDir: the machine's "ProgramFilesDir" value of
// "SOFTWARE\Microsoft\Windows\CurrentVersion", or nullopt when it cannot be
// read. Base := that value with a trailing "\"; when it is missing or empty,
// the running program's folder (its path up to and including the last "\")
// with the first occurrence of "Pellwick\" removed (compared without regard
// to case), which is shown to the user through showMessage. The result is
// base + "Ardmont\Common\".
std::string SharedFolderFromProgramFiles(const std::optional<std::string>& programFilesDir,
                                         const std::string& programPath,
                                         const std::function<void(const std::string&)>& showMessage);

}  // namespace kx
