#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "os/uPackedFiles.h"
#include "os/uUserFiles.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

// The window's bytes read through its file, never past its end.
std::string WindowBytes(const std::string& path) {
  const TFileWindow w = OpenFileWindow(path);
  if (!w.File) return "<not opened>";
  std::string bytes(size_t(w.Size) + 8, '\0');  // room for a read that overruns
  bytes.resize(std::fread(bytes.data(), 1, size_t(w.Size), w.File.get()));
  return bytes;
}

class PackedFilesTest : public testing::Test {
 protected:
  void TearDown() override { ClearPackedFiles(); }
  TScratchDir m_dir;
  std::string Folder() const { return m_dir / "work" + PathSeparators()[0]; }
};

TEST_F(PackedFilesTest, PathsOfTheFolderReadTheirRangeOfTheSource) {
  const std::string source = m_dir / "program";
  WriteFile(source, "0123456789abcdef");
  SetPackedFiles(Folder(), source,
                 {{"a.jpg", 2, 3}, {"empty", 5, 0}, {"cut", 14, 10}, {"beyond", 40, 4}, {"", 0, 2}, {"neg", -1, 2}});
  const struct {
    std::string Name;
    bool Exists;
    std::string Bytes;
  } cases[] = {
      {"a.jpg", true, "234"},
      {"empty", true, ""},
      {"cut", true, "ef"},       // the source ends first
      {"beyond", true, ""},      // the source ends before it starts
      {"neg", false, "<not opened>"},
      {"b.jpg", false, "<not opened>"},
      {std::string("sub") + PathSeparators()[0] + "a.jpg", false, "<not opened>"},
      {"", false, "<not opened>"},
  };
  for (const auto& c : cases) {
    const std::string path = Folder() + c.Name;
    EXPECT_EQ(FileExists(path), c.Exists) << c.Name;
    EXPECT_EQ(FindPackedFile(path).has_value(), c.Exists) << c.Name;
    EXPECT_EQ(WindowBytes(path), c.Bytes) << c.Name;
    EXPECT_EQ(ReadFileWindow(path, 100).value_or("<not opened>"), c.Bytes) << c.Name;
  }
  bool tooLarge = false;
  EXPECT_FALSE(ReadFileWindow(Folder() + "a.jpg", 2, &tooLarge));
  EXPECT_TRUE(tooLarge);
  // Outside the folder the same name is no packed file.
  EXPECT_FALSE(FileExists(m_dir / "a.jpg"));
  EXPECT_FALSE(FileExists("a.jpg"));
}

TEST_F(PackedFilesTest, TheLaterOfTwoEntriesWinsAndTheSystemRuleFindsThem) {
  const std::string source = m_dir / "program";
  WriteFile(source, "0123456789");
  SetPackedFiles(Folder(), source, {{"Lake.jpg", 0, 2}, {"Lake.jpg", 4, 2}});
  EXPECT_EQ(WindowBytes(Folder() + "Lake.jpg"), "45");
  // Another spelling finds the file exactly when the system would take it
  // for the same one.
  const bool sameFile = SystemFileNameKey("LAKE.JPG") == SystemFileNameKey("Lake.jpg");
  EXPECT_EQ(FileExists(Folder() + "LAKE.JPG"), sameFile);
}

TEST_F(PackedFilesTest, OtherPathsReadTheRegularFileAndClearingForgetsThePackedOnes) {
  const std::string source = m_dir / "program";
  WriteFile(source, "0123456789");
  WriteFile(m_dir / "plain.txt", "plain");
  SetPackedFiles(Folder(), source, {{"a", 1, 2}});
  EXPECT_EQ(WindowBytes(m_dir / "plain.txt"), "plain");
  EXPECT_EQ(OpenFileWindow(m_dir / "plain.txt").Start, 0);
  EXPECT_EQ(OpenFileWindow(Folder() + "a").Start, 1);

  // A replacing call forgets the earlier files; so does clearing.
  SetPackedFiles(Folder(), source, {{"b", 1, 2}});
  EXPECT_FALSE(FileExists(Folder() + "a"));
  EXPECT_TRUE(FileExists(Folder() + "b"));
  ClearPackedFiles();
  EXPECT_FALSE(FileExists(Folder() + "b"));
  EXPECT_FALSE(OpenFileWindow(Folder() + "b").File);
  EXPECT_EQ(OpenFileWindow(Folder() + "b").Size, -1);
}

TEST_F(PackedFilesTest, AMissingSourceOpensNothing) {
  SetPackedFiles(Folder(), m_dir / "gone", {{"a", 0, 2}});
  EXPECT_TRUE(FileExists(Folder() + "a"));  // listed, as a file whose read fails
  EXPECT_FALSE(OpenFileWindow(Folder() + "a").File);
  EXPECT_FALSE(ReadFileWindow(Folder() + "a", 100));
}

}  // namespace
