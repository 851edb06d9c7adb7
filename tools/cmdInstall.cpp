// kxtool install / uninstall: a screensaver made available to the user's
// screensaver daemon. The file is copied to $XDG_DATA_HOME/kxcsaver/ and
// named in the programs list of ~/.xscreensaver; xsecurelock takes it
// through XSECURELOCK_SAVER.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "package/uPackage.h"
#include "tools/kxtool.h"

namespace kxtool {
namespace {

// A settings file of a daemon is small; anything larger is not one to edit.
constexpr off_t kMaxSettingsBytes = 1 << 20;

std::string Home() {
  const char* home = std::getenv("HOME");
  if (!home || !*home) throw std::runtime_error("HOME is not set");
  return home;
}

std::string InstallFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  const std::string base = data && data[0] == '/' ? std::string(data) : Home() + "/.local/share";
  return base + "/kxcsaver/";
}

void MakeFolders(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
    if (::mkdir(path.substr(0, slash).c_str(), 0755) != 0 && errno != EEXIST)
      throw std::runtime_error("cannot create " + path.substr(0, slash) + ": " + std::strerror(errno));
}

// The whole of ~/.xscreensaver, when it is a regular file we may rewrite:
// not a link, readable, of a sane size. false when it does not exist.
bool ReadSettings(const std::string& path, std::string& text, struct stat& st) {
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return false;
    throw std::runtime_error("cannot read " + path + ": " + std::strerror(errno));
  }
  if (S_ISLNK(st.st_mode)) throw std::runtime_error(path + " is a symbolic link; not changed");
  if (!S_ISREG(st.st_mode)) throw std::runtime_error(path + " is not a regular file; not changed");
  if (st.st_size > kMaxSettingsBytes) throw std::runtime_error(path + " is larger than 1 MB; not changed");
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) throw std::runtime_error("cannot read " + path + ": " + std::strerror(errno));
  char buf[65536];
  text.clear();
  for (ssize_t got; (got = ::read(fd, buf, sizeof buf)) > 0;) text.append(buf, size_t(got));
  ::close(fd);
  return true;
}

// Replaces the file as a whole, keeping its mode: a new file renamed over it.
void WriteAtomically(const std::string& path, const std::string& text, mode_t mode) {
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
  bool ok = ::write(fd, text.data(), text.size()) == ssize_t(text.size());
  ok = ::fchmod(fd, mode & 07777) == 0 && ::fsync(fd) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    throw std::runtime_error("cannot write " + path);
  }
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

void CopyFile(const std::string& from, const std::string& to) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (in < 0 || ::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (in >= 0) ::close(in);
    throw std::runtime_error("cannot read " + from);
  }
  std::string temp = to + ".XXXXXX";
  const int out = ::mkstemp(temp.data());
  if (out < 0) {
    ::close(in);
    throw std::runtime_error("cannot write " + to + ": " + std::strerror(errno));
  }
  char buf[1 << 16];
  bool ok = true;
  for (ssize_t got; ok && (got = ::read(in, buf, sizeof buf)) > 0;) ok = ::write(out, buf, size_t(got)) == got;
  ::close(in);
  ok = ::fchmod(out, 0755) == 0 && ::close(out) == 0 && ok;
  if (!ok || std::rename(temp.c_str(), to.c_str()) != 0) {
    ::unlink(temp.c_str());
    throw std::runtime_error("cannot write " + to);
  }
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
  std::string text;
  struct stat st {};
  const bool haveSettings = ReadSettings(settings, text, st);

  MakeFolders(folder);
  CopyFile(args[0], installed);
  std::printf("Installed %s\n", installed.c_str());

  if (!haveSettings) {
    std::printf("%s does not exist yet: run xscreensaver-settings once (it writes the file),\n"
                "then run this command again to add %s to its list.\n",
                settings.c_str(), name.c_str());
  } else if (text.find(" " + installed + " -root") != std::string::npos) {
    std::printf("%s already lists %s.\n", settings.c_str(), name.c_str());
  } else if (AddProgram(text, ProgramsEntry(name, installed))) {
    WriteAtomically(settings, text, st.st_mode);
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
  std::string text;
  struct stat st {};
  if (ReadSettings(settings, text, st)) {
    const std::string before = text;
    RemoveProgram(text, name, installed);
    if (text != before) {
      WriteAtomically(settings, text, st.st_mode);
      std::printf("Removed %s from the programs of %s.\n", name.c_str(), settings.c_str());
    }
  }
  if (::unlink(installed.c_str()) == 0) std::printf("Removed %s\n", installed.c_str());
  else if (errno != ENOENT) throw std::runtime_error("cannot remove " + installed + ": " + std::strerror(errno));
  return 0;
}

const TCommandGroup kInstallCommands{{
    {"install", Install, "install FILE.scr                  copy a screensaver for this user and add it to ~/.xscreensaver"},
    {"uninstall", Uninstall, "uninstall NAME                    remove an installed screensaver and its ~/.xscreensaver line"},
}};

}  // namespace kxtool
