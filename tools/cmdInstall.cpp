// kxtool install / uninstall: a screensaver made available to the user's
// screensaver daemon. The file is copied to $XDG_DATA_HOME/kxcsaver/ and
// named in the programs list of ~/.xscreensaver; xsecurelock takes it
// through XSECURELOCK_SAVER.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>

#include "os/posix/uEditableFile.h"
#include "os/uUserFiles.h"
#include "package/uPackage.h"
#include "tools/kxtool.h"

namespace kxtool {
namespace {

// A settings file of a daemon is small; anything larger is not one to edit.
constexpr size_t kMaxSettingsBytes = size_t(1) << 20;

std::string Home() {
  const char* home = std::getenv("HOME");
  if (!home || !*home) throw std::runtime_error("HOME is not set");
  return home;
}

// The user's data folder of the player (the wallpaper file's folder too).
std::string InstallFolder() {
  std::string folder = kx::UserDataFolder();
  if (folder.empty()) throw std::runtime_error("there is no home folder to install into");
  return folder;
}

// The programs entry of an installed screensaver: its name, then the command.
std::string ProgramsEntry(const std::string& name, const std::string& installed) {
  return "  \"" + name + "\"  " + installed + " -root \\n\\\n";
}

// Inserts the entry as the first of the programs resource, whose value runs
// on over lines ending in a backslash. false when there is no such resource.
bool AddProgram(std::string& text, const std::string& entry) {
  size_t line = 0;
  while (line < text.size()) {
    if (text.compare(line, 9, "programs:") == 0) {
      text.insert(line + 9, "\\\n" + entry);
      return true;
    }
    const size_t next = text.find('\n', line);
    if (next == std::string::npos) break;
    line = next + 1;
  }
  return false;
}

// Removes the lines of the programs resource that run the installed file;
// an entry as install added it goes with the line break it added.
void RemoveProgram(std::string& text, const std::string& name, const std::string& installed) {
  const std::string added = "programs:\\\n" + ProgramsEntry(name, installed);
  if (const size_t at = text.find(added); at != std::string::npos) {
    text.replace(at, added.size(), "programs:");
    return;
  }
  std::string out;
  size_t line = 0;
  while (line < text.size()) {
    size_t next = text.find('\n', line);
    next = next == std::string::npos ? text.size() : next + 1;
    const std::string current = text.substr(line, next - line);
    if (current.find(" " + installed + " -root") == std::string::npos) out += current;
    line = next;
  }
  text = out;
}

std::string SettingsPath() { return Home() + "/.xscreensaver"; }

std::string NameOf(const std::string& file) {
  std::string name = kx::FileNamePart(file);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

int Install(const Args& args) {
  if (args.size() != 1) throw std::runtime_error("usage: kxtool install FILE.scr");
  const std::string name = NameOf(args[0]);
  if (name.empty() || name.find_first_of("\"\\\n") != std::string::npos)
    throw std::runtime_error("not a screensaver file name: " + args[0]);
  const std::string folder = InstallFolder(), installed = folder + name + ".scr";
  // The daemon's file is checked before anything is copied.
  const std::string settings = SettingsPath();
  std::optional<kx::TEditableFile> file = kx::ReadEditableFile(settings, kMaxSettingsBytes);
  const bool haveSettings = file.has_value();
  std::string text = haveSettings ? file->Text : std::string();

  kx::CreateParentFolders(installed);
  kx::CopyRunnableFile(args[0], installed);
  std::printf("Installed %s\n", installed.c_str());

  if (!haveSettings) {
    std::printf("%s does not exist yet: run xscreensaver-settings once (it writes the file),\n"
                "then run this command again to add %s to its list.\n",
                settings.c_str(), name.c_str());
  } else if (text.find(" " + installed + " -root") != std::string::npos) {
    std::printf("%s already lists %s.\n", settings.c_str(), name.c_str());
  } else if (AddProgram(text, ProgramsEntry(name, installed))) {
    kx::ReplaceEditableFile(settings, text, file->Mode);
    std::printf("Added %s to the programs of %s.\n", name.c_str(), settings.c_str());
  } else {
    std::printf("%s has no programs list: add this line to it by hand:\n%s", settings.c_str(),
                ProgramsEntry(name, installed).c_str());
  }
  std::printf("With xsecurelock: XSECURELOCK_SAVER=%s xsecurelock\n", installed.c_str());
  return 0;
}

int Uninstall(const Args& args) {
  if (args.size() != 1) throw std::runtime_error("usage: kxtool uninstall NAME");
  const std::string name = NameOf(args[0]);
  const std::string installed = InstallFolder() + name + ".scr";
  const std::string settings = SettingsPath();
  if (std::optional<kx::TEditableFile> file = kx::ReadEditableFile(settings, kMaxSettingsBytes)) {
    std::string text = file->Text;
    const std::string before = text;
    RemoveProgram(text, name, installed);
    if (text != before) {
      kx::ReplaceEditableFile(settings, text, file->Mode);
      std::printf("Removed %s from the programs of %s.\n", name.c_str(), settings.c_str());
    }
  }
  if (kx::RemoveFileIfPresent(installed)) std::printf("Removed %s\n", installed.c_str());
  return 0;
}

const TCommandGroup kInstallCommands{{
    {"install", Install, "install FILE.scr                  copy a screensaver for this user and add it to ~/.xscreensaver"},
    {"uninstall", Uninstall, "uninstall NAME                    remove an installed screensaver and its ~/.xscreensaver line"},
}};

}  // namespace kxtool
