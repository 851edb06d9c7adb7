#include "config/uUserSettingsFile.h"

#include <exception>

#include "os/uPlatform.h"
#include "os/uUserFiles.h"
#include "package/uText.h"

namespace kx {

bool IsPersistingRun(const std::string& programPath, const std::vector<std::string>& args) {
  const std::string program = UpperCase(ExpandLongPath(programPath));
  if (program.size() >= 4 && program.compare(program.size() - 4, 4, ".SCR") == 0) return true;
  return !args.empty() && UpperCase(args[0]) == "/C";
}

TIniFile ReadUserSettings(const std::string& path) {
  try {
    return TIniFile::FromFile(path);
  } catch (const std::exception&) {
    return {};
  }
}

void WriteUserSettings(const std::string& path, const TIniFile& ini) { WriteFileAtomically(path, ini.ToText()); }

}  // namespace kx
