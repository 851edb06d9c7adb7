// A stand-in for the screensaver dialog's preview pane on Windows: a
// borderless window of W x H pixels at the desktop's top-left corner, hidden
// at first. Prints its handle in decimal, shows itself after SHOW_MS
// milliseconds (or is destroyed then, with "destroy"), and ends after
// LIVE_MS. Its own painting draws nothing, so what another program paints
// into it stays.
//   host_window W H SHOW_MS LIVE_MS [destroy]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(window, &ps);
    EndPaint(window, &ps);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  return DefWindowProcW(window, message, w, l);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) return 2;
  const int width = std::atoi(argv[1]), height = std::atoi(argv[2]);
  const DWORD showMs = DWORD(std::atoi(argv[3])), liveMs = DWORD(std::atoi(argv[4]));
  const bool destroy = argc > 5 && std::strcmp(argv[5], "destroy") == 0;
  WNDCLASSW c{};
  c.lpfnWndProc = Proc;
  c.hInstance = GetModuleHandleW(nullptr);
  c.lpszClassName = L"KxPreviewHost";
  RegisterClassW(&c);
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, c.lpszClassName, L"preview host", WS_POPUP, 0, 0, width, height,
                                nullptr, nullptr, c.hInstance, nullptr);
  if (!window) return 1;
  std::printf("%llu\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
  std::fflush(stdout);
  const ULONGLONG start = GetTickCount64();
  bool shown = false;
  for (;;) {
    const ULONGLONG now = GetTickCount64() - start;
    if (now >= liveMs) break;
    if (!shown && now >= showMs) {
      shown = true;
      if (destroy) {
        DestroyWindow(window);
        window = nullptr;
      } else {
        ShowWindow(window, SW_SHOWNOACTIVATE);
      }
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (window) DestroyWindow(window);
  return 0;
}
