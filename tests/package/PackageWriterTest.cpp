#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "os/uFolderAccess.h"
#include "package/uContainer.h"
#include "package/uPackage.h"
#include "package/uPackageWriter.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::ListDir;
using kxtest::ReadFile;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

class PackageWriterTest : public testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir / "player", "MZ the player's own bytes");
    // Larger than one chunk of the copy, with every byte value.
    for (int i = 0; i < 200000; ++i) big += char(i * 7 + i / 256);
    WriteFile(dir / "big.jpg", big);
    WriteFile(dir / "small.png", "png");
    contents.Description = MakeContainer({"[FileList]\r\nbig.jpg=1\r\n", "[General]\r\nProductName=P\r\n", ""});
    contents.Files = {{"big.jpg", dir / "big.jpg", std::nullopt},
                      {"renamed.png", dir / "small.png", std::nullopt},
                      {"Preview.jpg", "", std::string("made")}};
    contents.Windows.Bytes = "windows";
  }

  // The files the folder holds besides those the test wrote.
  std::vector<std::string> Leftovers() {
    std::vector<std::string> names;
    for (const std::string& n : ListDir(dir.Path()))
      if (n != "player" && n != "big.jpg" && n != "small.png" && n != "out.scr") names.push_back(n);
    return names;
  }

  TScratchDir dir;
  std::string big;
  TPackageContents contents;
};

TEST_F(PackageWriterTest, AppendsThePackageToThePlayerByteForByte) {
  WritePackage(dir / "player", contents, dir / "out.scr");
  const std::string files = MakeContainer({big, "png", "made"});
  const std::string expected =
      "MZ the player's own bytes" +
      MakeContainer({contents.Description, "big.jpg\r\nrenamed.png\r\nPreview.jpg\r\n", files, "windows"});
  EXPECT_EQ(ReadFile(dir / "out.scr"), expected);
  EXPECT_TRUE(Leftovers().empty());

  // The player extracts every file under its packaged name.
  TScratchDir work;
  ExtractPackage(dir / "out.scr", work.Path());
  EXPECT_EQ(ReadFile(work / "big.jpg"), big);
  EXPECT_EQ(ReadFile(work / "renamed.png"), "png");
  EXPECT_EQ(ReadFile(work / "Preview.jpg"), "made");
  EXPECT_EQ(ReadFile(work / "KXGUI.kxu"), "windows");
}

TEST_F(PackageWriterTest, WindowsFromAFileOrNone) {
  WriteFile(dir / "gui", "from a file");
  contents.Windows = {"", dir / "gui", std::nullopt};
  WritePackage(dir / "player", contents, dir / "out.scr");
  {
    // Closed before the next write: Windows does not replace a file that is open.
    const TFilePtr f = OpenRegularFile(dir / "out.scr");
    const std::optional<TEntryRange> gui = FindEntry(f.get(), 3);
    ASSERT_TRUE(gui);
    EXPECT_EQ(gui->End - gui->Begin, 11);
  }

  contents.Windows = {};
  WritePackage(dir / "player", contents, dir / "out.scr");
  const TFilePtr g = OpenRegularFile(dir / "out.scr");
  const std::optional<TEntryRange> none = FindEntry(g.get(), 3);
  ASSERT_TRUE(none);
  EXPECT_EQ(none->End, none->Begin);
}

struct FailureCase {
  const char* name;
  void (*spoil)(TScratchDir& dir, TPackageContents& contents, std::string& out);
  const char* message;  // a part of the error's text
};

class PackageWriterFailureTest : public PackageWriterTest, public testing::WithParamInterface<FailureCase> {};

// A failure leaves the output as it was and nothing beside it.
TEST_P(PackageWriterFailureTest, LeavesTheOutputAsItWas) {
  std::string out = dir / "out.scr";
  WriteFile(out, "the old screensaver");
  std::string player = dir / "player";
  GetParam().spoil(dir, contents, player);
  try {
    WritePackage(player, contents, out);
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find(GetParam().message), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadFile(out), "the old screensaver");
  EXPECT_TRUE(Leftovers().empty()) << Leftovers()[0];
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PackageWriterFailureTest,
    testing::Values(FailureCase{"MissingFile",
                                [](TScratchDir& d, TPackageContents& c, std::string&) {
                                  c.Files.push_back({"gone.jpg", d / "gone.jpg", std::nullopt});
                                },
                                "missing file: "},
                    FailureCase{"MissingWindowsFile",
                                [](TScratchDir& d, TPackageContents& c, std::string&) {
                                  c.Windows = {"", d / "gone.kxu", std::nullopt};
                                },
                                "missing file: "},
                    FailureCase{"MissingPlayer",
                                [](TScratchDir& d, TPackageContents&, std::string& player) { player = d / "none"; },
                                "cannot read the player"},
                    FailureCase{"PlayerWithAPackage",
                                [](TScratchDir& d, TPackageContents&, std::string&) {
                                  WriteFile(d / "player", "MZ" + MakeContainer({"a", "b", "c", "d"}));
                                },
                                "already carries a package"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PackageWriterTest, AnOutputThatCannotBeMadeIsAnError) {
  EXPECT_THROW(WritePackage(dir / "player", contents, dir / "no folder/out.scr"), std::runtime_error);
  EXPECT_TRUE(Leftovers().empty());
}

}  // namespace
