#include <gtest/gtest.h>
#include <unistd.h>

#include "package/uContainer.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::ReadFile;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

TEST(ExtractContainer, ReplacesFilesButNeverFollowsALink) {
  TScratchDir dir;
  WriteFile(dir / "old", "previous content that is longer");
  WriteFile(dir / "target", "outside");
  ASSERT_EQ(::symlink((dir / "target").c_str(), (dir / "link").c_str()), 0);
  WriteFile(dir / "c", MakeContainer({"new", "through link", "after"}));
  ExtractContainer(dir / "c", {dir / "old", dir / "link", dir / "after"});
  EXPECT_EQ(ReadFile(dir / "old"), "new");
  EXPECT_EQ(ReadFile(dir / "target"), "outside");
  EXPECT_EQ(ReadFile(dir / "after"), "after");
}

}  // namespace
