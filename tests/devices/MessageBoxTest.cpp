#include <gtest/gtest.h>

#include "devices/uMessageBox.h"

using namespace kx;

TEST(MessageBox, DefaultPrintsOneLineWithLineBreaksShown) {
  testing::internal::CaptureStderr();
  ShowMessageBox("File: /a/b.kxp\r\nIncorrect Project File!");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "message: File: /a/b.kxp\\r\\nIncorrect Project File!\n");
}

TEST(MessageBox, HandlerReplacesTheDefaultUntilRemoved) {
  std::string shown;
  const TMessageBoxHandler previous = SetMessageBoxHandler([&](const std::string& text) { shown = text; });
  testing::internal::CaptureStderr();
  ShowMessageBox("hello");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(shown, "hello");
  EXPECT_FALSE(SetMessageBoxHandler(previous) == nullptr);
  testing::internal::CaptureStderr();
  ShowMessageBox("again");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "message: again\n");
  EXPECT_EQ(shown, "hello");
}
