#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "os/uFileAccess.h"
#include "os/uFolderAccess.h"
#include "os/uPlatform.h"
#include "os/uUserFiles.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::TScratchDir;

namespace {

std::string ReadAll(const std::string& path) {
  const TFilePtr f = OpenRegularFile(path);
  if (!f) return "<not opened>";
  std::string bytes(size_t(OpenFileSize(f.get())), '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f.get()));
  return bytes;
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

// Paths are UTF-8 everywhere above the devices: a user's folder named in any
// script holds files that are written, found, read, listed, locked and
// removed like any other.
TEST(FileAccess, FoldersNamedInAnyScriptWorkLikeAnyOther) {
  TScratchDir dir;
  for (const std::string name : {"J\xC3\xB6rg", "\xE7\x94\xA8\xE6\x88\xB7"}) {  // Jörg, 用户
    SCOPED_TRACE(name);
    const std::string folder = dir / name;
    ASSERT_EQ(MakePrivateFolder(folder), 0);
    EXPECT_TRUE(IsFolder(folder));
    EXPECT_FALSE(IsRegularFile(folder));
    EXPECT_FALSE(OpenRegularFile(folder));  // a folder is never opened as a file

    const std::string file = folder + "/See " + name + ".ini";
    ASSERT_TRUE(ReplaceFileContents(file, "first"));
    ASSERT_TRUE(ReplaceFileContents(file, "second"));  // replaced whole
    EXPECT_TRUE(IsRegularFile(file));
    EXPECT_EQ(ReadAll(file), "second");
    EXPECT_EQ(ReadAll(ExpandLongPath(file)), "second");
    WriteFileAtomically(folder + "/" + name + "/Lake.ini", "made with its folder");
    EXPECT_EQ(kxtest::ReadFile(folder + "/" + name + "/Lake.ini"), "made with its folder");

    const int open = OpenFolder(folder);
    ASSERT_GE(open, 0);
    const int out = CreateFileIn(open, name + ".res");
    ASSERT_GE(out, 0);
    EXPECT_TRUE(WriteAll(out, "entry bytes", 11));
    CloseFile(out);
    EXPECT_EQ(ReadFileIn(open, name + ".res", 5), "entry");
    EXPECT_EQ(ReadFileIn(open, "missing", 5), "");
    EXPECT_EQ(kxtest::ListDir(folder), Sorted({name, "See " + name + ".ini", name + ".res"}));

    // A held lock is not taken by another; once released it is.
    const int lock = CreateLockFileIn(open, ".kxlock");
    ASSERT_GE(lock, 0);
    EXPECT_EQ(TakeLockFileIn(open, ".kxlock"), -1);
    ReleaseLock(lock);
    const int taken = TakeLockFileIn(open, ".kxlock");
    EXPECT_GE(taken, 0);
    ReleaseLock(taken);

    const int inner = OpenFolderIn(open, name);
    ASSERT_GE(inner, 0);
    EXPECT_TRUE(IsOwnFolderIn(open, name));
    EXPECT_TRUE(RemoveFileIn(inner, "Lake.ini"));
    CloseFolder(inner);
    EXPECT_TRUE(RemoveFolderIn(open, name));
    const std::vector<std::string> names = Sorted(FolderEntries(open));
    EXPECT_EQ(names, Sorted({".kxlock", "See " + name + ".ini", name + ".res"}));
    for (const std::string& entry : names) EXPECT_TRUE(RemoveFileIn(open, entry)) << entry;
    CloseFolder(open);
    EXPECT_TRUE(RemoveFolder(folder));
    EXPECT_FALSE(IsFolder(folder));
  }
}

// The player looks for sounds, objects' pictures and thumbnails' files this
// way: only a file it could read counts.
TEST(FileAccess, FileExistsOnlyForARegularFile) {
  TScratchDir dir;
  kxtest::WriteFile(dir / "empty.wav", "");
  ASSERT_EQ(MakePrivateFolder(dir / "folder.wav"), 0);
  const struct {
    std::string path;
    bool exists;
  } cases[] = {
      {dir / "empty.wav", true}, {dir / "missing.wav", false}, {dir / "folder.wav", false},
      {"", false},               {dir.Path(), false},
  };
  for (const auto& c : cases) EXPECT_EQ(FileExists(c.path), c.exists) << "'" << c.path << "'";
}

// The whole-file writers' first step: each call makes a file of its own
// beside the target (in a folder named in any script too), never the target
// itself, and the finished file then takes the target's place.
TEST(FileAccess, CreateFileBesideMakesANewFileEachTime) {
  TScratchDir dir;
  ASSERT_EQ(MakePrivateFolder(dir / "J\xC3\xB6rg"), 0);
  const std::string target = dir / "J\xC3\xB6rg/out.scr";
  kxtest::WriteFile(target, "old");
  std::string first, second;
  {
    const TFilePtr a = CreateFileBeside(target, first);
    const TFilePtr b = CreateFileBeside(target, second);
    ASSERT_TRUE(a && b);
    EXPECT_NE(first, second);
    EXPECT_EQ(first.rfind(target + ".", 0), 0u) << first;
    std::fputs("new", a.get());
  }
  EXPECT_EQ(ReadAll(target), "old");
  ASSERT_TRUE(MoveFileOver(first, target));
  EXPECT_EQ(ReadAll(target), "new");
  EXPECT_TRUE(RemoveFile(second));
  const int folder = OpenFolder(dir / "J\xC3\xB6rg");
  EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"out.scr"});
  CloseFolder(folder);

  std::string none;
  EXPECT_FALSE(CreateFileBeside(dir / "missing/out.scr", none));
  EXPECT_EQ(none, "");
}

}  // namespace
