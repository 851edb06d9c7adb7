// The preview pane's painting on Windows, read back from a window of the
// test's own: a program's drawing into another program's window does not
// show under Wine, so the pixels are checked here, in one process.
#include <gtest/gtest.h>

#include "devices/gdi/uGdiHostWindow.h"
#include "devices/uDisplay.h"
#include "devices/uHostWindow.h"
#include "support/BitmapSupport.h"

#include <windows.h>

#include <string>

namespace kx {
namespace {

class GdiHostWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW c{};
    c.lpfnWndProc = DefWindowProcW;
    c.hInstance = GetModuleHandleW(nullptr);
    c.lpszClassName = L"KxTestHost";
    RegisterClassW(&c);
    m_window = CreateWindowExW(WS_EX_TOOLWINDOW, c.lpszClassName, L"host", WS_POPUP, 0, 0, 40, 30, nullptr, nullptr,
                               c.hInstance, nullptr);
    if (!m_window) GTEST_SKIP() << "no desktop to open a window on";
  }
  void TearDown() override {
    if (m_window && IsWindow(m_window)) DestroyWindow(m_window);
  }
  uint64_t Id() const { return uint64_t(reinterpret_cast<uintptr_t>(m_window)); }

  // What the window's client area holds, as our pixels.
  TBitmap32 ReadBack() {
    RECT r{};
    GetClientRect(m_window, &r);
    TBitmap32 out(r.right, r.bottom);
    HDC dc = GetDC(m_window);
    HDC memory = CreateCompatibleDC(dc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = r.right;
    info.bmiHeader.biHeight = -r.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* src = static_cast<const TPixel*>(bits);
    for (int32_t y = 0; y < r.bottom; ++y)
      for (int32_t x = 0; x < r.right; ++x) out.SetPixel(x, y, src[size_t(y) * size_t(r.right) + size_t(x)]);
    SelectObject(memory, old);
    DeleteObject(section);
    DeleteDC(memory);
    ReleaseDC(m_window, dc);
    return kxtest::NoAlpha(out);
  }

  HWND m_window = nullptr;
};

// "" when the two are equal, else where and how they first differ.
std::string FirstDifference(const TBitmap32& got, const TBitmap32& want) {
  if (got.Width() != want.Width() || got.Height() != want.Height()) return "sizes differ";
  for (int32_t y = 0; y < got.Height(); ++y)
    for (int32_t x = 0; x < got.Width(); ++x)
      if (got.Pixel(x, y) != want.Pixel(x, y))
        return "(" + std::to_string(x) + ", " + std::to_string(y) + "): " + std::to_string(got.Pixel(x, y)) +
               " instead of " + std::to_string(want.Pixel(x, y));
  return "";
}

TEST_F(GdiHostWindow, PaintsExactPixelsWholeClippedAndInParts) {
  ShowWindow(m_window, SW_SHOWNOACTIVATE);
  const std::unique_ptr<IHostWindow> host = OpenHostWindow(Id());
  EXPECT_TRUE(host->Exists());
  EXPECT_TRUE(host->Viewable());
  EXPECT_EQ(host->Size().X, 40);
  EXPECT_EQ(host->Size().Y, 30);

  const TBitmap32 first = kxtest::Tagged(40, 30, 1);
  host->Paint(first, 0, 0);
  EXPECT_EQ(FirstDifference(ReadBack(), kxtest::NoAlpha(first)), "");

  // Only the parts asked for change; the bitmap may stick out of the window.
  const TBitmap32 second = kxtest::Tagged(50, 20, 99);
  const std::vector<TRect> parts = {{2, 3, 12, 9}, {30, 20, 45, 40}};
  host->Paint(second, -3, 5, &parts);
  TBitmap32 expected = kxtest::NoAlpha(first);
  for (const TRect& part : parts) {
    const TRect r = part.Intersect({0, 0, 40, 30}).Intersect(second.BoundsRect().Offset(-3, 5));
    for (int32_t y = r.Top; y < r.Bottom; ++y)
      for (int32_t x = r.Left; x < r.Right; ++x) expected.SetPixel(x, y, second.Pixel(x + 3, y - 5));
  }
  EXPECT_EQ(FirstDifference(ReadBack(), kxtest::NoAlpha(expected)), "");
}

TEST_F(GdiHostWindow, FollowsVisibilitySizeAndTheWindowsEnd) {
  const std::unique_ptr<IHostWindow> host = OpenHostWindow(Id());
  EXPECT_FALSE(host->Viewable());  // not shown yet
  ShowWindow(m_window, SW_SHOWNOACTIVATE);
  EXPECT_TRUE(host->Viewable());
  EXPECT_FALSE(host->ProcessEvents().Resized);

  SetWindowPos(m_window, nullptr, 0, 0, 64, 48, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(host->ProcessEvents().Resized);
  EXPECT_EQ(host->Size().X, 64);
  EXPECT_EQ(host->Size().Y, 48);
  EXPECT_FALSE(host->ProcessEvents().Resized);

  DestroyWindow(m_window);
  EXPECT_FALSE(host->Exists());
  EXPECT_TRUE(host->ProcessEvents().Destroyed);
  EXPECT_FALSE(host->ProcessEvents().Destroyed);  // told once
}

TEST_F(GdiHostWindow, AHandleOfNoWindowIsRefusedAndZeroIsTheDesktop) {
  DestroyWindow(m_window);
  EXPECT_THROW(OpenHostWindow(Id()), TDisplayUnavailable);
  const std::unique_ptr<IHostWindow> desktop = OpenHostWindow(0);
  EXPECT_TRUE(desktop->Exists());
  EXPECT_GT(desktop->Size().X, 0);
}

}  // namespace
}  // namespace kx
