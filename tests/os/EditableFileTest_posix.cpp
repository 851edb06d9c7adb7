#include <gtest/gtest.h>

#include <sys/stat.h>

#include <optional>
#include <string>

#include "os/posix/uEditableFile.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

// A file is writable when its owner may write it: a rewrite through a new
// file renamed over it would otherwise replace a file made read-only (even
// for root, whom the system lets write anything).
TEST(EditableFile, WritableFollowsTheOwnersWritePermission) {
  const struct {
    mode_t Mode;
    bool Writable;
  } cases[] = {{0644, true}, {0600, true}, {0640, true}, {0444, false}, {0400, false}, {0500, false}};
  TScratchDir dir;
  const std::string path = dir / "config";
  for (const auto& c : cases) {
    WriteFile(path, "timeout 300 'swaylock'\n");
    ASSERT_EQ(::chmod(path.c_str(), c.Mode), 0);
    const std::optional<TEditableFile> file = ReadEditableFile(path, 1 << 20);
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->Writable, c.Writable) << std::oct << c.Mode;
    EXPECT_EQ(file->Mode, uint32_t(c.Mode)) << std::oct << c.Mode;
    EXPECT_EQ(file->Text, "timeout 300 'swaylock'\n");
    ::chmod(path.c_str(), 0600);
  }
}

}  // namespace
