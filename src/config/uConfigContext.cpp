#include "config/uConfigContext.h"

#include "package/uUserSettingsFile.h"

namespace kx {

bool TConfigContext::Persisting() const { return UserSettingsFileOf(ProgramPath, Args, SettingsFile).Persisting; }

std::string TConfigContext::SettingsPath() const { return UserSettingsFileOf(ProgramPath, Args, SettingsFile).Path; }

}  // namespace kx
