#include "config/uConfigContext.h"

#include "config/uUserSettingsFile.h"
#include "os/uUserFiles.h"

namespace kx {

bool TConfigContext::Persisting() const { return !SettingsFile.empty() || IsPersistingRun(ProgramPath, Args); }

std::string TConfigContext::SettingsPath() const {
  return SettingsFile.empty() ? UserSettingsFilePath(ProgramPath) : SettingsFile;
}

}  // namespace kx
