#include "config/uWallpaperFlow.h"

#include <cctype>
#include <exception>
#include <memory>
#include <stdexcept>
#include <vector>

#include "animation/uCreatorProject.h"
#include "config/FKXConfigWindow.h"
#include "devices/uMessageBox.h"
#include "devices/uWallpaper.h"
#include "os/uUserFiles.h"
#include "raster/uBmpWrite.h"
#include "raster/uStillPicture.h"

namespace kx {
namespace {

bool IsPictureFile(const std::string& path) {
  const size_t name = path.find_last_of("\\/") + 1;
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || dot < name) return false;
  std::string ext = path.substr(dot);
  for (char& c : ext) c = char(std::toupper(static_cast<unsigned char>(c)));
  return ext == ".KXP";
}

}  // namespace

TBitmap32 LoadWallpaperPicture(const std::string& path) {
  if (!IsPictureFile(path)) return DecodeStillPictureFile(path);
  // A picture file that does not load has no main picture to show: the flow
  // stops with the reader's error instead of setting an empty wallpaper.
  TProject project;
  if (!project.Load(path) || project.Picture.Empty())
    throw std::runtime_error("File: " + path + "\r\n" +
                             (project.LoadError.empty() ? std::string("The file holds no picture.")
                                                        : project.LoadError));
  return std::move(project.Picture);
}

void SetWallpaper(const TBitmap32& bitmap, const std::string& path, IWallpaperSetter& setter) {
  // The fourth byte of a 32-bit bitmap file is alpha to some readers: a
  // picture whose own fourth bytes are unused would show as see-through.
  TBitmap32 copy(bitmap.Width(), bitmap.Height(), MakePixel(0, 0, 0));
  copy.Draw(0, 0, bitmap);
  for (int32_t y = 0; y < copy.Height(); ++y) {
    TPixel* row = copy.Row(y);
    for (int32_t x = 0; x < copy.Width(); ++x) row[x] |= 0xFF000000u;
  }
  WriteFileAtomically(path, EncodeBmp32(copy));
  setter.Set(path);
}

void SetWallpaper(const TBitmap32& bitmap, const std::string& path) {
  const std::unique_ptr<IWallpaperSetter> setter = DesktopWallpaperSetter();
  SetWallpaper(bitmap, path, *setter);
}

void SetPictureAsWallpaper(const std::string& picturePath, const std::string& programPath, IWallpaperSetter& setter) {
  if (!AskYesNo(kWallpaperQuestion)) return;
  try {
    const TBitmap32 picture = LoadWallpaperPicture(picturePath);
    SetWallpaper(picture, WallpaperFilePath(programPath), setter);
  } catch (const std::exception& e) {
    ShowMessageBox(e.what(), TMessageKind::Error);
  }
}

void SetWallpaperFlow(TfmKXCOnfigWindow& w, int index) {
  const std::vector<std::string>& names = w.Context().Project.FileList.Names;
  if (index < 0 || size_t(index) >= names.size()) return;
  const std::unique_ptr<IWallpaperSetter> setter = DesktopWallpaperSetter();
  SetPictureAsWallpaper(names[size_t(index)], w.Context().ProgramPath, *setter);
}

}  // namespace kx
