// Fuzzes the INI reader, the project model reading from it, the same text
// read as a user settings file with the dialog's defaults and applied by the
// show, and the list of transition effects the project names. Writing what
// was read and reading it again must give the same text.
#include <cstdlib>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "package/uIniFile.h"
#include "package/uKXProject.h"
#include "package/uUserSettingsFile.h"
#include "saver/uShowMath.h"
#include "saver/uUserSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const kx::TIniFile ini = kx::TIniFile::FromText(text);
  kx::TKXCProject project;
  project.FileList.LoadFromIni(ini);
  project.Settings.LoadFromIni(ini);
  project.UISettings.LoadFromIni(ini);
  for (const std::string& section : ini.SectionNames())
    for (const std::string& key : ini.ReadSection(section)) {
      (void)ini.ReadInteger(section, key, 0, kx::TIntSyntax::DecimalOrHex);
      (void)ini.ReadBool(section, key, false);
    }
  (void)kx::ParseTransitionList(project.Settings.TransitionEffects);
  const std::string userFile = kxfuzz::WriteInput("user.ini", data, size);
  (void)kx::ReadUserSettingsFile(userFile, kx::TUserSettingsReader::Dialog);
  kx::ApplyUserSettings(project, userFile);
  (void)kx::ParseTransitionList(project.Settings.TransitionEffects);
  const std::string once = ini.ToText();
  if (kx::TIniFile::FromText(once).ToText() != once) std::abort();
  return 0;
}
