#include "devices/gdi/uWindowsWallpaper.h"

#include <windows.h>

#include <memory>

#include "os/win32/uWidePath.h"

namespace kx {

bool TWindowsWallpaper::Set(const std::string& bmpPath) {
  // A path that is not UTF-8 names no file; an empty one would take the
  // wallpaper away.
  std::wstring path = WidePath(bmpPath);
  if (path.empty()) return false;
  HKEY desktop = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_SET_VALUE, &desktop) != ERROR_SUCCESS)
    return false;
  static constexpr wchar_t kUntiled[] = L"0";
  ::RegSetValueExW(desktop, L"TileWallpaper", 0, REG_SZ, reinterpret_cast<const BYTE*>(kUntiled), sizeof kUntiled);
  ::RegCloseKey(desktop);
  return ::SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_UPDATEINIFILE);
}

std::unique_ptr<IWallpaperSetter> DesktopWallpaperSetter() { return std::make_unique<TWindowsWallpaper>(); }

}  // namespace kx
