#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "package/uContainer.h"
#include "package/uFileIO.h"
#include "package/uIniFile.h"
#include "package/uText.h"
#include "raster/uDecodeError.h"
#include "raster/uPictureDecode.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::TScratchDir;

namespace {

// A named pipe in place of any file the player reads is refused at once: no
// reader waits for a writer that never comes.
TEST(FileReaders, NamedPipesAreRefusedWithoutBlocking) {
  TScratchDir dir;
  const std::string path = dir / "fifo";
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  ::alarm(20);  // a reader that blocks ends the test program instead of hanging it
  TFileLoader loader;
  EXPECT_THROW(loader.LoadFromFile(path), TFileIOError);
  EXPECT_EQ(ReadFileText(path, kMaxTextBytes), "");
  EXPECT_TRUE(TIniFile::FromFile(path).SectionNames().empty());
  EXPECT_THROW(ReadPictureBytes(path), TDecodeError);
  EXPECT_FALSE(FindContainer(path).found);
  ::alarm(0);
}

}  // namespace
