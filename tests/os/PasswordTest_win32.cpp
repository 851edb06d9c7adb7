#include <gtest/gtest.h>

#include <windows.h>

#include "os/uPassword.h"

using namespace kx;

// The password service gets a window that does not exist and the null one:
// it returns, the library is let go, and the program goes on.
TEST(ChangeScreenSaverPassword, ReturnsWithAWindowThatDoesNotExist) {
  ChangeScreenSaverPassword(0x7FFF0000);
  ChangeScreenSaverPassword(0);
  ChangeScreenSaverPassword(-1);
  EXPECT_EQ(::GetModuleHandleW(L"mpr.dll"), nullptr);
}
