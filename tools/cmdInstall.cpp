// kxtool install / uninstall: a screensaver made available to the user's
// screensaver daemon. The file is copied to $XDG_DATA_HOME/kxcsaver/ and
// named in the programs list of ~/.xscreensaver; xsecurelock takes it
// through XSECURELOCK_SAVER; the Wayland idle daemons get the lines that run
// it on idle (printed, or added to their files with --idle); the
// applications menu gets an entry that opens its settings.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "os/posix/uEditableFile.h"
#include "os/uUserFiles.h"
#include "package/uPackage.h"
#include "raster/uPngIO.h"
#include "tools/kxtool.h"
#include "tools/uDesktopEntry.h"
#include "tools/uIdleDaemons.h"
#include "tools/uPackageIcon.h"

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

// The user's XDG folder of a kind: the player's own folder in it without
// its last part ("/home/u/.config/kxcsaver/" gives "/home/u/.config/").
std::string XdgHome(const std::string& ownFolder) {
  if (ownFolder.empty()) throw std::runtime_error("there is no home folder to install into");
  return ownFolder.substr(0, ownFolder.find_last_of('/', ownFolder.size() - 2) + 1);
}

// An idle daemon's file as install and uninstall find it: nullopt when it
// does not exist. Throws, the file unchanged, when it is not one to edit.
struct TIdleFile {
  TIdleDaemon Daemon;
  std::string Path;
  std::optional<kx::TEditableFile> File;
};

TIdleFile ReadIdleFile(TIdleDaemon daemon) {
  TIdleFile idle{daemon, XdgHome(kx::UserConfigFolder()) + std::string(IdleConfigFile(daemon)), std::nullopt};
  idle.File = kx::ReadEditableFile(idle.Path, kMaxSettingsBytes);
  if (idle.File && !IsPlainText(idle.File->Text))
    throw std::runtime_error(idle.Path + " is not a text file; not changed");
  if (idle.File && !idle.File->Writable) throw std::runtime_error(idle.Path + " is not writable; not changed");
  return idle;
}

void WriteIdleFile(const TIdleFile& idle, const std::string& text) {
  if (!idle.File) kx::CreateParentFolders(idle.Path);
  kx::ReplaceEditableFile(idle.Path, text, idle.File ? idle.File->Mode : 0644);
}

// Adds the entry to the daemon's file unless the file already runs the
// installed screensaver.
void AddToIdleFile(const TIdleFile& idle, const std::string& name, const std::string& installed) {
  const std::string entry = IdleEntry(idle.Daemon, name, installed);
  const std::string text = idle.File ? idle.File->Text : std::string();
  if (text.find(IdleShowText(idle.Daemon, installed)) != std::string::npos) {
    std::printf("%s already runs %s.\n", idle.Path.c_str(), name.c_str());
    return;
  }
  WriteIdleFile(idle, AddIdleEntry(text, entry, idle.File.has_value()));
  std::printf("Added %s to %s (restart %.*s to apply it).\n", name.c_str(), idle.Path.c_str(),
              int(IdleDaemonName(idle.Daemon).size()), IdleDaemonName(idle.Daemon).data());
}

void PrintIdleLines(const std::string& name, const std::string& installed, const std::string& file) {
  std::printf("On Wayland, your idle daemon runs it (see the README):\n");
  for (TIdleDaemon daemon : kIdleDaemons) {
    const std::string_view d = IdleDaemonName(daemon);
    const std::string path = XdgHome(kx::UserConfigFolder()) + std::string(IdleConfigFile(daemon));
    std::printf("- %.*s: add to %s (or run kxtool install --idle %.*s %s):\n", int(d.size()), d.data(), path.c_str(),
                int(d.size()), d.data(), file.c_str());
    try {
      std::printf("%s\n", IdleEntry(daemon, name, installed).c_str());
    } catch (const std::exception& e) {
      std::printf("  (%s)\n", e.what());
    }
  }
}

// The menu entry's file and its icon's, in the user's data folder.
struct TMenuFiles {
  std::string Entry, Icon, IconName;
};

TMenuFiles MenuFiles(const std::string& name) {
  const std::string data = XdgHome(kx::UserDataFolder()), base = DesktopFileName(name);
  return {data + "applications/" + base + ".desktop", data + std::string(kIconThemeFolder) + base + ".png", base};
}

void WriteMenuEntry(const std::string& file, const std::string& name, const std::string& installed) {
  if (MenuText(installed) != installed) {
    std::printf("No menu entry: the path %s is not a UTF-8 text without control characters.\n", installed.c_str());
    return;
  }
  const TMenuFiles menu = MenuFiles(name);
  const TPackageIcon package = ReadPackageIcon(file, kIconSize);
  std::string icon;
  if (!package.Icon.Empty()) {
    kx::WriteFileAtomically(menu.Icon, kx::EncodePng(package.Icon));
    icon = menu.IconName;
  } else {
    kx::RemoveFileIfPresent(menu.Icon);  // an earlier install's, of a package that had a picture
  }
  const std::string product = package.ProductName.empty() ? name : package.ProductName;
  kx::WriteFileAtomically(menu.Entry, DesktopEntry(product, installed, icon));
  std::printf("Added \"%s settings\" to the applications menu: %s\n", MenuText(product).c_str(), menu.Entry.c_str());
}

}  // namespace

int Install(const Args& args) {
  const std::runtime_error usage("usage: kxtool install [--idle swayidle|hypridle] FILE.scr");
  std::vector<TIdleDaemon> daemons;
  std::string file;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--idle") {
      if (i + 1 == args.size()) throw usage;
      const std::optional<TIdleDaemon> daemon = IdleDaemonNamed(args[++i]);
      if (!daemon) throw std::runtime_error("--idle takes swayidle or hypridle, not " + args[i]);
      if (std::find(daemons.begin(), daemons.end(), *daemon) == daemons.end()) daemons.push_back(*daemon);
    } else if (file.empty()) {
      file = args[i];
    } else {
      throw usage;
    }
  }
  if (file.empty()) throw usage;
  const std::string name = NameOf(file);
  if (name.empty() || name.find_first_of("\"\\\n") != std::string::npos)
    throw std::runtime_error("not a screensaver file name: " + file);
  const std::string folder = InstallFolder(), installed = folder + name + ".scr";
  // The daemons' files are checked before anything is copied.
  const std::string settings = SettingsPath();
  std::optional<kx::TEditableFile> settingsFile = kx::ReadEditableFile(settings, kMaxSettingsBytes);
  const bool haveSettings = settingsFile.has_value();
  std::string text = haveSettings ? settingsFile->Text : std::string();
  std::vector<TIdleFile> idleFiles;
  for (TIdleDaemon daemon : daemons) {
    idleFiles.push_back(ReadIdleFile(daemon));
    IdleEntry(daemon, name, installed);  // a path the file cannot hold is refused now
  }

  kx::CreateParentFolders(installed);
  kx::CopyRunnableFile(file, installed);
  std::printf("Installed %s\n", installed.c_str());

  if (!haveSettings) {
    std::printf("%s does not exist yet: run xscreensaver-settings once (it writes the file),\n"
                "then run this command again to add %s to its list.\n",
                settings.c_str(), name.c_str());
  } else if (text.find(" " + installed + " -root") != std::string::npos) {
    std::printf("%s already lists %s.\n", settings.c_str(), name.c_str());
  } else if (AddProgram(text, ProgramsEntry(name, installed))) {
    kx::ReplaceEditableFile(settings, text, settingsFile->Mode);
    std::printf("Added %s to the programs of %s.\n", name.c_str(), settings.c_str());
  } else {
    std::printf("%s has no programs list: add this line to it by hand:\n%s", settings.c_str(),
                ProgramsEntry(name, installed).c_str());
  }
  std::printf("With xsecurelock: XSECURELOCK_SAVER=%s xsecurelock\n", installed.c_str());
  if (idleFiles.empty()) PrintIdleLines(name, installed, file);
  for (const TIdleFile& idle : idleFiles) AddToIdleFile(idle, name, installed);
  WriteMenuEntry(file, name, installed);
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
  // An idle daemon's file that cannot be edited holds no entry of ours
  // (install refused it): it is reported and the rest goes on.
  for (TIdleDaemon daemon : kIdleDaemons) {
    try {
      std::string entry;
      try {
        entry = IdleEntry(daemon, name, installed);
      } catch (const std::exception&) {
        continue;  // a path that file cannot hold was never added to it
      }
      const TIdleFile idle = ReadIdleFile(daemon);
      if (!idle.File) continue;
      const std::optional<TRemovedEntry> removed = RemoveIdleEntry(idle.File->Text, entry);
      if (!removed) {
        if (idle.File->Text.find(IdleShowText(daemon, installed)) != std::string::npos)
          std::printf("%s still runs %s in lines kxtool did not write: remove them by hand.\n", idle.Path.c_str(),
                      installed.c_str());
        continue;
      }
      if (removed->MadeByInstall) kx::RemoveFileIfPresent(idle.Path);
      else WriteIdleFile(idle, removed->Text);
      std::printf("Removed %s from %s.\n", name.c_str(), idle.Path.c_str());
    } catch (const std::exception& e) {
      std::fprintf(stderr, "kxtool uninstall: %s\n", e.what());
    }
  }
  const TMenuFiles menu = MenuFiles(name);
  if (kx::RemoveFileIfPresent(menu.Entry)) std::printf("Removed %s\n", menu.Entry.c_str());
  if (kx::RemoveFileIfPresent(menu.Icon)) std::printf("Removed %s\n", menu.Icon.c_str());
  if (kx::RemoveFileIfPresent(installed)) std::printf("Removed %s\n", installed.c_str());
  return 0;
}

const TCommandGroup kInstallCommands{{
    {"install", Install, "install [--idle swayidle|hypridle] FILE.scr   install for this user: daemons' lists, menu"},
    {"uninstall", Uninstall, "uninstall NAME                    remove an installed screensaver and what install made"},
}};

}  // namespace kxtool
