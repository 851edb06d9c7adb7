#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "package/uPictureFolder.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::MakeDir;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

std::vector<std::string> Paths(const std::vector<TFolderFile>& files) {
  std::vector<std::string> paths;
  for (const TFolderFile& f : files) paths.push_back(f.Path);
  return paths;
}

// Files that cannot be read are reported with the reason and left out; a
// link to a file is followed, a link to a folder never (a loop of links
// would recurse for ever).
TEST(PictureFolderPosix, SkipsWhatCannotBeReadAndFollowsNoFolderLink) {
  TScratchDir dir;
  WriteFile(dir / "a.jpg", "x");
  WriteFile(dir / "elsewhere.bin", "x");
  ASSERT_EQ(::symlink((dir / "elsewhere.bin").c_str(), (dir / "b.jpg").c_str()), 0);
  ASSERT_EQ(::symlink((dir / "missing").c_str(), (dir / "c.jpg").c_str()), 0);
  ASSERT_EQ(::mkfifo((dir / "d.png").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo((dir / "e.ogg").c_str(), 0600), 0);
  MakeDir(dir / "sub");
  WriteFile(dir / "sub/f.jpg", "x");
  ASSERT_EQ(::symlink(dir.Path().c_str(), (dir / "sub/loop").c_str()), 0);
  const bool root = ::geteuid() == 0;  // root reads every file whatever its mode
  WriteFile(dir / "g.gif", "x");
  ASSERT_EQ(::chmod((dir / "g.gif").c_str(), 0), 0);

  const TPictureFolder found = ScanPictureFolder(dir.Path(), true);
  std::vector<std::string> pictures = {dir / "a.jpg", dir / "b.jpg"};
  std::vector<std::string> skipped = {dir / "c.jpg", dir / "d.png", dir / "e.ogg"};
  (root ? pictures : skipped).push_back(dir / "g.gif");
  pictures.push_back(dir / "sub/f.jpg");
  EXPECT_EQ(Paths(found.Pictures), pictures);
  EXPECT_TRUE(found.Music.empty());
  std::vector<std::string> skippedPaths;
  for (const TSkippedFile& f : found.Skipped) {
    skippedPaths.push_back(f.Path);
    EXPECT_EQ(f.Reason, "cannot be read") << f.Path;
  }
  std::sort(skippedPaths.begin(), skippedPaths.end());
  EXPECT_EQ(skippedPaths, skipped);
}

TEST(PictureFolderPosix, AFileTooLargeForAPackageIsSkipped) {
  TScratchDir dir;
  WriteFile(dir / "huge.jpg", "");
  ASSERT_EQ(::truncate((dir / "huge.jpg").c_str(), off_t(1) << 31), 0);  // sparse: takes no room
  WriteFile(dir / "small.jpg", "x");
  const TPictureFolder found = ScanPictureFolder(dir.Path(), false);
  EXPECT_EQ(Paths(found.Pictures), std::vector<std::string>{dir / "small.jpg"});
  ASSERT_EQ(found.Skipped.size(), 1u);
  EXPECT_EQ(found.Skipped[0].Path, dir / "huge.jpg");
  EXPECT_EQ(found.Skipped[0].Reason, "is too large for a screensaver (2 GB at most)");
}

}  // namespace
