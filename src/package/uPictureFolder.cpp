#include "package/uPictureFolder.h"

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <utility>

#include "os/uFileAccess.h"
#include "os/uFolderAccess.h"
#include "os/uWindowsFileNames.h"
#include "package/uContainer.h"
#include "package/uFileIO.h"
#include "package/uIniFile.h"
#include "package/uPackage.h"

namespace kx {
namespace {

bool IsPictureFile(std::string_view path) { return UpperExtension(path) == ".KXP"; }

// An open folder, closed when it goes.
class TOpenFolder {
 public:
  explicit TOpenFolder(int fd) : m_fd(fd) {}
  ~TOpenFolder() { CloseFolder(m_fd); }
  TOpenFolder(const TOpenFolder&) = delete;
  TOpenFolder& operator=(const TOpenFolder&) = delete;
  int Fd() const { return m_fd; }

 private:
  int m_fd;
};

// The candidates of one folder and (recursive) its subfolders, as paths in
// the top folder, in no particular order.
void Collect(int fd, const std::string& prefix, bool recursive, std::vector<std::string>& found) {
  for (const std::string& name : FolderEntries(fd)) {
    if (name.empty() || name[0] == '.') continue;
    const TOpenFolder sub(OpenFolderIn(fd, name));
    if (sub.Fd() >= 0) {
      if (recursive) Collect(sub.Fd(), prefix + name + "/", recursive, found);
      continue;
    }
    if (IsStillPicture(name) || IsPictureFile(name) || IsFolderMusic(name)) found.push_back(prefix + name);
  }
}

// Why a file cannot go into a package; "" when it can.
std::string Unusable(const std::string& path) {
  const TFilePtr f = OpenRegularFile(path);
  const int64_t size = f ? OpenFileSize(f.get()) : -1;
  if (size < 0) return "cannot be read";
  if (size > INT32_MAX) return "is too large for a screensaver (2 GB at most)";
  return {};
}

// The file name of a path, made a name the package's texts can hold.
std::string CleanName(std::string_view path) {
  std::string name(path.substr(path.find_last_of('/') + 1));
  for (char& c : name)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F ||
        std::string_view("=;:\\<>\"|?*").find(c) != std::string_view::npos)
      c = '_';
  const size_t first = name.find_first_not_of(' ');
  name.erase(0, first == std::string::npos ? name.size() : first);
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
  if (!name.empty() && name[0] == '[') name[0] = '_';
  return name.empty() ? "_" : name;
}

// name with " (n)" before its extension.
std::string Numbered(const std::string& name, int n) {
  const size_t dot = name.rfind('.');
  const size_t cut = dot == std::string::npos || dot == 0 ? name.size() : dot;
  return name.substr(0, cut) + " (" + std::to_string(n) + ")" + name.substr(cut);
}

std::string Joined(const std::vector<TFolderFile>& files, char separator) {
  std::string text;
  for (const TFolderFile& f : files) text += (text.empty() ? "" : std::string(1, separator)) + f.Name;
  return text;
}

}  // namespace

bool IsFolderMusic(std::string_view path) {
  // The formats the mixer plays (devices/sdl) that music is kept in.
  const std::string ext = UpperExtension(path);
  return ext == ".OGG" || ext == ".MP3" || ext == ".WAV" || ext == ".FLAC";
}

TPictureFolder ScanPictureFolder(const std::string& folder, bool recursive) {
  const TOpenFolder top(OpenFolder(folder, true));
  if (top.Fd() < 0) throw std::runtime_error("cannot open the folder " + folder);
  std::vector<std::string> found;
  Collect(top.Fd(), "", recursive, found);
  std::sort(found.begin(), found.end());

  TPictureFolder result;
  for (const std::string& inFolder : found) {
    const std::string path = folder + inFolder;
    if (std::string why = Unusable(path); !why.empty()) {
      result.Skipped.push_back({path, std::move(why)});
      continue;
    }
    auto& list = IsFolderMusic(inFolder) ? result.Music : result.Pictures;
    list.push_back({path, result.Names.Take(inFolder)});
  }
  return result;
}

bool TPackagedNameSet::Free(const std::string& name) const {
  return PackagedFileName(name) == name && !WindowsRefusesFileName(name) && !m_keys.contains(WindowsFileNameKey(name));
}

TPackagedNameSet::TPackagedNameSet() {
  for (std::string_view own : kPackageEntryNames) m_keys.insert(WindowsFileNameKey(own));
  m_keys.insert(WindowsFileNameKey(kWorkFolderLockName));
}

std::string TPackagedNameSet::Take(std::string_view pathInFolder) {
  std::string name = CleanName(pathInFolder);
  if (!Free(name)) {
    std::string joined(pathInFolder);
    std::replace(joined.begin(), joined.end(), '/', '_');
    joined = CleanName(joined);
    if (Free(joined)) {
      name = std::move(joined);
    } else {
      std::string plain = std::move(name);
      // A device name before the first of several dots stays one with a
      // number before the last ("CON.a (2).jpg"): such a name starts with "_".
      if (WindowsRefusesFileName(Numbered(plain, 2))) plain.insert(0, "_");
      for (int n = 2; !Free(name = Numbered(plain, n)); ++n) {
      }
    }
  }
  m_keys.insert(WindowsFileNameKey(name));
  return name;
}

std::string FolderProjectDescription(const TPictureFolder& folder, const TFolderProjectOptions& options) {
  TIniFile list;
  for (const TFolderFile& f : folder.Pictures) list.WriteString("FileList", f.Name, "1");

  TIniFile settings;
  settings.WriteString("General", "ProductName", options.ProductName);
  settings.WriteString("General", "Publisher", options.Publisher);
  // Photos fill the screen without being pulled out of shape.
  settings.WriteString("Default", "Stretch", "1");
  settings.WriteString("Default", "Proportional", "1");
  settings.WriteString("Default", "Random", options.Random ? "1" : "0");
  settings.WriteString("Default", "Duration", std::to_string(options.Duration));
  settings.WriteString("Default", "Transition", "1");
  settings.WriteString("Default", "TransitionTime", std::to_string(options.TransitionTime));
  settings.WriteString("Default", "Music", folder.Music.empty() ? "0" : "1");
  settings.WriteString("Advance", "PreviewFile", options.PreviewName);
  settings.WriteString("Advance", "MusicFile", Joined(folder.Music, ';'));
  settings.WriteString("Advance", "MusicMode", "1");
  settings.WriteString("Build", "BuildFileName", options.BuildFileName);

  TIniFile ui;
  ui.WriteString("UI", "UIFile", std::string(kPackageEntryNames[3]));
  return MakeContainer({"[FileListHeader]\r\nHeader=1\r\n\r\n" + list.ToText(), settings.ToText(), ui.ToText()});
}

}  // namespace kx
