// kxtool make: a screensaver from a plain folder of pictures and nothing
// else. The folder's pictures (in name order), its music, a preview picture
// made from the first picture and generic configuration windows go into one
// package; what goes in, under which names, is package/uPictureFolder.h.
#include <cstdio>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>

#include "os/uPlatform.h"
#include "package/uIniFile.h"
#include "package/uPackage.h"
#include "package/uPackageWriter.h"
#include "package/uPictureFolder.h"
#include "package/uPreviewPicture.h"
#include "package/uText.h"
#include "tools/kxtool.h"
#include "tools/uFolderWindows.h"

namespace kxtool {
namespace {

constexpr const char* kUsage =
    "usage: kxtool make DIR -o NAME.scr [--recursive] [--name NAME] [--publisher NAME] [--duration S] "
    "[--transition-time MS] [--random 0|1] [--player PATH]";

// The pictures tried in turn for the preview before the package goes without one.
constexpr size_t kPreviewTries = 20;

int32_t Whole(const std::string& option, const std::string& text, int32_t low, int32_t high, const char* unit) {
  const std::optional<int32_t> value = kx::ParseInteger(text);
  if (!value || *value < low || *value > high)
    throw std::runtime_error(option + " takes " + unit + " from " + std::to_string(low) + " to " +
                             std::to_string(high) + ", not '" + text + "'");
  return *value;
}

// A name as one line of the project's text holds it.
std::string OneLine(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return std::string(kx::Trim(text));
}

// The folder's own name: "Holiday" for "photos/Holiday/", also when it is given as ".".
std::string FolderName(const std::string& dir) {
  std::string path = kx::ExpandLongPath(dir);
  if (path.empty()) path = dir;
  while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
  return kx::FileNamePart(path);
}

}  // namespace

int Make(const Args& args) {
  std::string dir, out, player = ToolDirectory() + "kxcsaver";
  std::optional<std::string> name;
  bool recursive = false;
  kx::TFolderProjectOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool more = i + 1 < args.size();
    if (a == "-o" && more) out = args[++i];
    else if (a == "--recursive") recursive = true;
    else if (a == "--name" && more) name = args[++i];
    else if (a == "--publisher" && more) options.Publisher = OneLine(args[++i]);
    else if (a == "--duration" && more) options.Duration = Whole(a, args[++i], 1, 999, "whole seconds");
    else if (a == "--transition-time" && more)
      options.TransitionTime = Whole(a, args[++i], 0, 60000, "milliseconds");
    else if (a == "--random" && more) options.Random = Whole(a, args[++i], 0, 1, "the values") == 1;
    else if (a == "--player" && more) player = args[++i];
    else if (dir.empty() && !a.starts_with("-")) dir = a;
    else throw std::runtime_error(std::string(kUsage) + " (unexpected argument " + a + ")");
  }
  if (dir.empty() || out.empty()) throw std::runtime_error(kUsage);
  if (dir.back() != '/') dir += '/';

  kx::TPictureFolder folder = kx::ScanPictureFolder(dir, recursive);
  for (const kx::TSkippedFile& f : folder.Skipped)
    std::fprintf(stderr, "kxtool make: skipped %s: it %s\n", f.Path.c_str(), f.Reason.c_str());
  if (folder.Pictures.empty())
    throw std::runtime_error("no pictures in " + dir + " (pictures are JPEG, PNG, BMP, GIF and .kxp files" +
                             (recursive ? ")" : "; --recursive also looks in its subfolders)"));

  options.ProductName = OneLine(name ? *name : FolderName(dir));
  if (options.ProductName.empty()) throw std::runtime_error("the screensaver needs a name: give one with --name");
  options.BuildFileName = kx::FileNamePart(out);

  kx::TPackageContents contents;
  for (const kx::TFolderFile& f : folder.Pictures) contents.Files.push_back({f.Name, f.Path, std::nullopt});
  for (const kx::TFolderFile& f : folder.Music) contents.Files.push_back({f.Name, f.Path, std::nullopt});
  // The preview from the first picture that decodes.
  for (size_t i = 0; i < folder.Pictures.size() && i < kPreviewTries && options.PreviewName.empty(); ++i) {
    try {
      std::string preview = kx::MakePreviewPicture(folder.Pictures[i].Path);
      options.PreviewName = folder.Names.Take("Preview.jpg");
      contents.Files.push_back({options.PreviewName, "", std::move(preview)});
    } catch (const std::exception& e) {
      std::fprintf(stderr, "kxtool make: no preview from %s: %s\n", folder.Pictures[i].Path.c_str(), e.what());
    }
  }
  contents.Description = kx::FolderProjectDescription(folder, options);
  contents.Windows.Bytes = std::string(FolderWindows());
  kx::WritePackage(player, contents, out);
  const auto count = [](size_t n, const char* what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); };
  std::printf("%s: %s, %s%s\n", out.c_str(), count(folder.Pictures.size(), "picture").c_str(),
              count(folder.Music.size(), "music file").c_str(),
              options.PreviewName.empty() ? ", no preview picture" : "");
  return 0;
}

}  // namespace kxtool
