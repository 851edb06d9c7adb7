#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

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

TEST(MessageBox, HandlersGetTheKindOrTheTextAlone) {
  std::vector<std::pair<std::string, TMessageKind>> shown;
  const TMessageBoxHandler previous =
      SetMessageBoxHandler([&](const std::string& text, TMessageKind kind) { shown.emplace_back(text, kind); });
  ShowMessageBox("plain");
  ShowMessageBox("broken", TMessageKind::Error);
  ShowMessageBox("missing", TMessageKind::Warning);
  EXPECT_EQ(shown, (std::vector<std::pair<std::string, TMessageKind>>{
                       {"plain", TMessageKind::Information},
                       {"broken", TMessageKind::Error},
                       {"missing", TMessageKind::Warning}}));
  std::string text;
  SetMessageBoxHandler([&](const std::string& t) { text = t; });
  ShowMessageBox("any kind", TMessageKind::Error);
  EXPECT_EQ(text, "any kind");
  SetMessageBoxHandler(previous);
}
