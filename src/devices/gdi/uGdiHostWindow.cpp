#include "devices/gdi/uGdiHostWindow.h"

#include "devices/uDisplay.h"

#include <windows.h>

#include <string>

namespace kx {
namespace {

HWND Handle(void* window) { return static_cast<HWND>(window); }

// Our own thread's messages (a box that was shown, the system's broadcasts).
void PumpOwnMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

}  // namespace

TGdiHostWindow::TGdiHostWindow(uint64_t id)
    : m_window(id ? reinterpret_cast<void*>(static_cast<uintptr_t>(id)) : static_cast<void*>(::GetDesktopWindow())) {
  if (!::IsWindow(Handle(m_window))) throw TDisplayUnavailable("no window " + std::to_string(id) + " on the desktop");
  m_size = Size();
}

bool TGdiHostWindow::Exists() { return ::IsWindow(Handle(m_window)) != FALSE; }

bool TGdiHostWindow::Viewable() { return ::IsWindowVisible(Handle(m_window)) != FALSE; }

TPoint TGdiHostWindow::Size() {
  RECT r{};
  if (!::GetClientRect(Handle(m_window), &r)) return {0, 0};
  return {r.right - r.left, r.bottom - r.top};
}

void TGdiHostWindow::Paint(const TBitmap32& bitmap, int32_t x, int32_t y, const std::vector<TRect>* only) {
  if (bitmap.Width() <= 0 || bitmap.Height() <= 0) return;
  HDC dc = ::GetDC(Handle(m_window));
  if (!dc) return;
  // Each part is handed over as a block of whole rows, top-down, 32 bits
  // per pixel (blue, green, red, unused: as our pixels lie) that the part
  // fills from its first row to its last, so that whether the system counts
  // source rows from the top or the bottom makes no difference.
  const TRect whole = bitmap.BoundsRect().Offset(x, y);
  const auto paint = [&](const TRect& part) {
    const TRect r = part.Intersect(whole);
    if (r.Empty()) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = bitmap.Width();
    info.bmiHeader.biHeight = -r.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::SetDIBitsToDevice(dc, r.Left, r.Top, DWORD(r.Width()), DWORD(r.Height()), r.Left - x, 0, 0, UINT(r.Height()),
                        bitmap.Row(r.Top - y), &info, DIB_RGB_COLORS);
  };
  if (only) {
    for (const TRect& r : *only) paint(r);
  } else {
    paint(whole);
  }
  ::ReleaseDC(Handle(m_window), dc);
}

TWindowEvents TGdiHostWindow::ProcessEvents() {
  PumpOwnMessages();
  TWindowEvents events;
  if (!Exists()) {
    if (!m_gone) events.Destroyed = true;
    m_gone = true;
    return events;
  }
  const TPoint size = Size();
  if (size.X != m_size.X || size.Y != m_size.Y) {
    m_size = size;
    events.Resized = true;
  }
  return events;
}

// Nothing of the window itself can wake us; our own messages can.
void TGdiHostWindow::WaitEvents(uint32_t ms) { ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT); }

}  // namespace kx
