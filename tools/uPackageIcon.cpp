#include "tools/uPackageIcon.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <span>
#include <vector>

#include "os/uFileAccess.h"
#include "os/uFolderAccess.h"
#include "package/uContainer.h"
#include "package/uKXProject.h"
#include "package/uPackage.h"
#include "package/uWorkFolder.h"
#include "raster/uPictureDecode.h"
#include "raster/uResample.h"
#include "raster/uStillPicture.h"
#include "tools/kxtool.h"

namespace kxtool {

kx::TBitmap32 FitIcon(const kx::TBitmap32& picture, int size) {
  if (picture.Empty()) return {};
  kx::TBitmap32 icon(size, size, 0);
  const bool wide = picture.Width() >= picture.Height();
  const int w = wide ? size : std::max(1, int(int64_t(size) * picture.Width() / picture.Height()));
  const int h = wide ? std::max(1, int(int64_t(size) * picture.Height() / picture.Width())) : size;
  kx::TBitmap32 fitted(w, h);
  kx::ResampleLanczos3(picture, fitted);
  const int x0 = (size - w) / 2, y0 = (size - h) / 2;
  for (int y = 0; y < h; ++y) std::copy_n(fitted.Row(y), w, icon.Row(y0 + y) + x0);
  return icon;
}

TPackageIcon ReadPackageIcon(const std::string& file, int size) {
  TPackageIcon result;
  const kx::TFilePtr f = kx::OpenRegularFile(file);
  if (!f) return result;
  if (!kx::FindContainer(f.get()).found) return result;
  const TWorkFolderScope work(file);
  const int folder = kx::GetWorkFolderDescriptor();
  // The project's texts and the list of packaged names; the packaged files
  // stay where they are.
  std::vector<std::string> entries(kx::kPackageEntryNames.begin(), kx::kPackageEntryNames.begin() + 2);
  entries.resize(kx::kPackageEntryNames.size());
  kx::ExtractContainer(f.get(), entries, folder);
  kx::TKXCProject project;
  project.LoadFromPackage(kx::GetWorkFolder() + std::string(kx::kPackageEntryNames[0]));
  result.ProductName = project.Settings.ProductName;

  std::string wanted = project.Settings.PreviewFile;
  if (wanted.empty() && !project.FileList.Names.empty()) wanted = project.FileList.Names.front();
  const std::vector<std::string> packaged = kx::ExtractedFileNames(folder);
  wanted = kx::FindPackagedName(kx::FileNamePart(wanted), packaged);
  const auto at = std::find(packaged.begin(), packaged.end(), wanted);
  const std::optional<kx::TEntryRange> files = kx::FindEntry(f.get(), 2);
  if (wanted.empty() || at == packaged.end() || !files) return result;
  std::vector<std::string> names(size_t(at - packaged.begin()) + 1);
  names.back() = wanted;
  kx::ExtractContainer(f.get(), files->Begin, files->End, names, folder);
  try {
    const std::string bytes = kx::ReadFileIn(folder, wanted, kx::kMaxPictureFileBytes);
    const std::span data(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    result.Icon = FitIcon(kx::DecodeStillPicture(data, kx::TPoint{size, size}), size);
  } catch (const std::exception&) {
    // A picture file of the player's own kind, or one that does not decode:
    // the menu shows the standard icon.
  }
  return result;
}

}  // namespace kxtool
