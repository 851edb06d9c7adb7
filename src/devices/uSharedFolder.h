// The shared folder of the authoring tools (GetSharedFolder).
// The system names it where it can (SystemSharedFolder, in os/posix and
// os/win32); where it cannot, the running program's own folder stands in
// and the user is told, which needs a message box and so is decided here,
// above the system's calls.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "os/uPlatform.h"

namespace kx {

// The shared folder of the authoring tools, ending in the system's separator,
// whose "images" and "sounds" subfolders hold object pictures and sounds that
// a package does not carry: the folder SystemSharedFolder (os/uPlatform.h)
// names; where it names none (Windows without a readable "ProgramFilesDir"),
// the running program's folder as SharedFolderFromProgramFiles makes it,
// shown to the user in a message box. Computed anew on every call.
std::string GetSharedFolder();

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
