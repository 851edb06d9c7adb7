#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "devices/uWallpaper.h"
#include "os/win32/uWidePath.h"
#include "raster/uBitmap.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::Backslashed;
using kxtest::TScratchDir;

namespace {

constexpr wchar_t kDesktop[] = L"Control Panel\\Desktop";

std::optional<std::wstring> DesktopValue(const wchar_t* name) {
  wchar_t buf[1024];
  DWORD bytes = sizeof buf;
  if (::RegGetValueW(HKEY_CURRENT_USER, kDesktop, name, RRF_RT_REG_SZ, nullptr, buf, &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(buf);
}

void SetDesktopValue(const wchar_t* name, const std::optional<std::wstring>& value) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kDesktop, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  if (value)
    ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                     DWORD((value->size() + 1) * sizeof(wchar_t)));
  else
    ::RegDeleteValueW(key, name);
  ::RegCloseKey(key);
}

std::wstring CurrentWallpaper() {
  wchar_t buf[MAX_PATH + 1] = L"";
  ::SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH + 1, buf, 0);
  return buf;
}

// The user's desktop settings and wallpaper as they were before the test,
// put back after it.
class WindowsWallpaper : public testing::Test {
 protected:
  void SetUp() override {
    m_tile = DesktopValue(L"TileWallpaper");
    m_style = DesktopValue(L"WallpaperStyle");
    m_wallpaper = CurrentWallpaper();
  }
  void TearDown() override {
    SetDesktopValue(L"TileWallpaper", m_tile);
    SetDesktopValue(L"WallpaperStyle", m_style);
    ::SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, m_wallpaper.data(), SPIF_UPDATEINIFILE);
  }

  TScratchDir Dir;

 private:
  std::optional<std::wstring> m_tile, m_style;
  std::wstring m_wallpaper;
};

TEST_F(WindowsWallpaper, SwitchesTilingOffKeepsTheStyleAndShowsTheFile) {
  const std::string bmp = Backslashed(Dir / "J\xC3\xB6rg Lake.scr.bmp");
  kxtest::WriteBmp(bmp, TBitmap32(4, 3, MakePixel(10, 20, 30)));
  SetDesktopValue(L"TileWallpaper", L"1");
  SetDesktopValue(L"WallpaperStyle", L"2");  // stretched, the user's choice

  const std::unique_ptr<IWallpaperSetter> setter = DesktopWallpaperSetter();
  EXPECT_TRUE(setter->Set(bmp));
  EXPECT_EQ(DesktopValue(L"TileWallpaper"), L"0");
  EXPECT_EQ(DesktopValue(L"WallpaperStyle"), L"2");
  EXPECT_EQ(Utf8Path(CurrentWallpaper()), bmp);
}

// Without the user's desktop key nothing is written, nothing is created and
// the wallpaper stays; a path that names no file in any encoding is never
// handed on (an empty one would take the wallpaper away).
TEST_F(WindowsWallpaper, NoDesktopKeyOrNoPathChangesNothing) {
  const std::string bmp = Backslashed(Dir / "Lake.scr.bmp");
  kxtest::WriteBmp(bmp, TBitmap32(2, 2, MakePixel(1, 2, 3)));
  const std::wstring before = CurrentWallpaper();
  const std::unique_ptr<IWallpaperSetter> setter = DesktopWallpaperSetter();
  EXPECT_FALSE(setter->Set("\xFF\xFE not UTF-8"));
  EXPECT_FALSE(setter->Set(""));
  EXPECT_EQ(CurrentWallpaper(), before);

  // The current user's settings seen through an empty private key.
  const std::wstring name = L"Software\\kxtest-user-" + std::to_wstring(::GetCurrentProcessId());
  HKEY empty = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &empty,
                              nullptr),
            ERROR_SUCCESS);
  if (::RegOverridePredefKey(HKEY_CURRENT_USER, empty) != ERROR_SUCCESS) {
    ::RegCloseKey(empty);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, name.c_str());
    GTEST_SKIP() << "RegOverridePredefKey is not available";
  }
  const bool set = setter->Set(bmp);
  HKEY made = nullptr;
  const bool created = ::RegOpenKeyExW(empty, kDesktop, 0, KEY_READ, &made) == ERROR_SUCCESS;
  if (made) ::RegCloseKey(made);
  ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  ::RegCloseKey(empty);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, name.c_str());
  EXPECT_FALSE(set);
  EXPECT_FALSE(created);
  EXPECT_EQ(CurrentWallpaper(), before);
}

}  // namespace
