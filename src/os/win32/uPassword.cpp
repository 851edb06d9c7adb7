#include "os/uPassword.h"

#include <windows.h>

#include <string>

namespace kx {
namespace {

using TPwdChangePassword = DWORD(WINAPI*)(LPCSTR provider, HWND window, DWORD flags, LPVOID reserved);

// The library by its full path in the system folder, never one found first
// in the program's own folder or the current one.
std::wstring PasswordLibraryPath() {
  wchar_t folder[260];
  const UINT n = ::GetSystemDirectoryW(folder, 260);
  if (n == 0 || n >= 260) return {};
  std::wstring path(folder, n);
  if (path.back() != L'\\') path += L'\\';
  return path + L"MPR.DLL";
}

}  // namespace

void ChangeScreenSaverPassword(int64_t hostWindow) {
  const std::wstring path = PasswordLibraryPath();
  if (path.empty()) return;
  HMODULE library = ::LoadLibraryW(path.c_str());
  if (!library) return;
  if (const auto change =
          reinterpret_cast<TPwdChangePassword>(reinterpret_cast<void*>(::GetProcAddress(library, "PwdChangePasswordA"))))
    change("SCRSAVE", reinterpret_cast<HWND>(static_cast<intptr_t>(hostWindow)), 0, nullptr);
  ::FreeLibrary(library);
}

}  // namespace kx
