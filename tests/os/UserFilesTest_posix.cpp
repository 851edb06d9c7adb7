#include <gtest/gtest.h>

#include <fcntl.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <ctime>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "os/uUserFiles.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::ReadFile;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

// Sets an environment variable for the test's lifetime ("" unsets it).
class TEnv {
 public:
  TEnv(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = ::getenv(name)) m_old = old, m_had = true;
    value.empty() ? ::unsetenv(name) : ::setenv(name, value.c_str(), 1);
  }
  ~TEnv() { m_had ? ::setenv(m_name, m_old.c_str(), 1) : ::unsetenv(m_name); }

 private:
  const char* m_name;
  std::string m_old;
  bool m_had = false;
};

// A user id with no entry in the password database, for files of someone else.
constexpr uid_t kOtherUser = 4000321;

bool IsRoot() { return ::geteuid() == 0; }

std::string PasswordHome() {
  const passwd* entry = ::getpwuid(::geteuid());
  return entry && entry->pw_dir ? entry->pw_dir : "";
}

// Dates a file (a link itself, not what it leads to) secondsAgo back.
void Age(const std::string& path, int secondsAgo) {
  const timespec when{std::time(nullptr) - secondsAgo, 0};
  const timespec times[2] = {when, when};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

std::string WriteError(const std::string& path) {
  try {
    WriteFileAtomically(path, "x");
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

}  // namespace

TEST(UserFiles, BesideAWritableProgram) {
  TScratchDir dir;
  ::mkdir((dir / "My.Savers").c_str(), 0700);
  WriteFile(dir / "My.Savers/Lake.scr", "x");
  EXPECT_EQ(ProgramFileName(dir / "My.Savers/../My.Savers/Lake.scr"), "Lake.scr");
  EXPECT_EQ(UserFilePath(dir / "My.Savers/Lake.scr", "Lake.ini", TUserFolder::Config), dir / "My.Savers/Lake.ini");
  EXPECT_EQ(WallpaperFilePath(dir / "My.Savers/Lake.scr"), dir / "My.Savers/Lake.scr.bmp");
}

TEST(UserFiles, ElseInTheUsersFolders) {
  TScratchDir dir;
  const struct {
    std::string Config, Data, Home;
    std::string WantConfig, WantData;
  } cases[] = {
      {dir / "cfg", dir / "data/", "/home/x", dir / "cfg/kxcsaver/", dir / "data/kxcsaver/"},
      {"", "", "/home/x", "/home/x/.config/kxcsaver/", "/home/x/.local/share/kxcsaver/"},
      {"relative", "also/relative", "/home/x", "/home/x/.config/kxcsaver/", "/home/x/.local/share/kxcsaver/"},
      // Without HOME (or with one that is no full path) the home folder is the
      // one the password database gives, never a shared temporary folder.
      {"", "", "", PasswordHome() + "/.config/kxcsaver/", PasswordHome() + "/.local/share/kxcsaver/"},
      {"", "", "home/x", PasswordHome() + "/.config/kxcsaver/", PasswordHome() + "/.local/share/kxcsaver/"},
  };
  ASSERT_FALSE(PasswordHome().empty());
  for (const auto& c : cases) {
    TEnv config("XDG_CONFIG_HOME", c.Config), data("XDG_DATA_HOME", c.Data), home("HOME", c.Home);
    // A program whose path does not expand (gone, or on a path the system
    // cannot resolve) never writes beside itself, nor ".bmp" in the current folder.
    EXPECT_EQ(UserFilePath("/no/such/Lake.scr", "Lake.ini", TUserFolder::Config), c.WantConfig + "Lake.ini");
    EXPECT_EQ(ProgramFileName("/no/such/Lake.scr"), "Lake.scr");
    EXPECT_EQ(WallpaperFilePath("/no/such/Lake.scr"), c.WantData + "Lake.scr.bmp");
    EXPECT_EQ(WallpaperFilePath(""), c.WantData + "kxcsaver.bmp");
    if (c.Config.empty()) {
      EXPECT_NE(UserConfigFolder().rfind("/tmp/", 0), 0u);
    }
  }
}

// A user without any home folder has no user files: none is read, and a
// write says why it fails. Run as a user the password database does not know.
TEST(UserFiles, NoHomeFolderNoUserFiles) {
  if (!IsRoot()) GTEST_SKIP() << "needs root to run as a user without a home folder";
  ASSERT_EQ(::getpwuid(kOtherUser), nullptr);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::unsetenv("HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_DATA_HOME");
    if (::setgid(kOtherUser) != 0 || ::setuid(kOtherUser) != 0) ::_exit(10);
    int failed = 0;
    if (!UserConfigFolder().empty() || !UserDataFolder().empty()) failed |= 1;
    if (!UserFilePath("/no/such/Lake.scr", "Lake.ini", TUserFolder::Config).empty()) failed |= 2;
    if (!WallpaperFilePath("/no/such/Lake.scr").empty()) failed |= 4;
    if (WriteError("").find("no home folder") == std::string::npos) failed |= 8;
    ::_exit(failed);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: folders, 2: settings path, 4: wallpaper path, 8: message";
}

// The user's own folder is written only when it is a real folder of the
// user; folders above it are the user's own choice and may be links.
TEST(UserFiles, TheUsersFolderMustBeTheirs) {
  TScratchDir dir;
  const std::string folder = dir / "cfg/kxcsaver/";
  const struct {
    const char* Name;
    bool NeedsRoot;
    std::function<void()> Plant;
    std::string WantError;  // "" when the write goes through
    std::string WantWritten;
  } cases[] = {
      {"a link in place of the folder", false,
       [&] {
         kxtest::MakeDir(dir / "cfg");
         kxtest::MakeDir(dir / "elsewhere");
         ::symlink((dir / "elsewhere").c_str(), (dir / "cfg/kxcsaver").c_str());
       },
       "the folder " + folder + " is a symbolic link", ""},
      {"a folder of another user", true,
       [&] {
         kxtest::MakeDir(dir / "cfg");
         kxtest::MakeDir(dir / "cfg/kxcsaver");
         ASSERT_EQ(::chown((dir / "cfg/kxcsaver").c_str(), kOtherUser, kOtherUser), 0);
       },
       "the folder " + folder + " belongs to another user", ""},
      {"a file in its place", false,
       [&] {
         kxtest::MakeDir(dir / "cfg");
         WriteFile(dir / "cfg/kxcsaver", "");
       },
       "the folder " + folder + " is not a folder", ""},
      {"the settings home a link to the user's own folder", false,
       [&] {
         kxtest::MakeDir(dir / "real");
         ::symlink((dir / "real").c_str(), (dir / "cfg").c_str());
       },
       "", dir / "real/kxcsaver/Lake.ini"},
      {"nothing there yet", false, [] {}, "", dir / "cfg/kxcsaver/Lake.ini"},
  };
  TEnv config("XDG_CONFIG_HOME", dir / "cfg");
  ASSERT_EQ(UserConfigFolder(), folder);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    if (c.NeedsRoot && !IsRoot()) continue;
    ASSERT_EQ(::system(("rm -rf " + dir / "*").c_str()), 0);
    c.Plant();
    const std::string error = WriteError(folder + "Lake.ini");
    if (c.WantError.empty()) {
      EXPECT_EQ(error, "");
      EXPECT_EQ(ReadFile(c.WantWritten), "x");
    } else {
      EXPECT_EQ(error, "Cannot write " + folder + "Lake.ini: " + c.WantError);
      EXPECT_EQ(kxtest::ListDir(dir / "elsewhere"), std::vector<std::string>{});
      EXPECT_FALSE(kxtest::Exists(dir / "elsewhere/Lake.ini"));
    }
  }
}

TEST(UserFiles, FoldersMadeForAWriteArePrivate) {
  TScratchDir dir;
  // The user's folder with the folders above it that are missing, and a
  // folder beside a program: each made for this user alone.
  TEnv config("XDG_CONFIG_HOME", dir / "new/config");
  WriteFileAtomically(UserConfigFolder() + "Lake.ini", "x");
  WriteFileAtomically(dir / "beside/Lake.ini", "x");
  for (const std::string made : {"new", "new/config", "new/config/kxcsaver", "beside"})
    EXPECT_EQ(ModeOf(dir / made), 0700u) << made;
  EXPECT_EQ(ReadFile(dir / "new/config/kxcsaver/Lake.ini"), "x");
}

// A write stopped half-way leaves its new file behind; the next write in the
// folder removes such files once they are a minute old, and nothing else.
TEST(UserFiles, WritesRemoveStaleFilesOfStoppedWrites) {
  TScratchDir dir;
  kxtest::MakeDir(dir / "f");
  kxtest::MakeDir(dir / "outside");
  WriteFile(dir / "outside/.kxcsaver-Targ01", "kept");
  Age(dir / "outside/.kxcsaver-Targ01", 3600);
  enum TKind { File, Link, Folder, OthersFile };
  const struct {
    const char* Name;
    TKind Kind;
    int Age;
    bool Kept;
  } cases[] = {
      {".kxcsaver-Ab12Cd", File, 120, false},   // left by a stopped write
      {".kxcsaver-zz9ZZ0", File, 3600, false},
      {".kxcsaver-Fresh1", File, 10, true},     // another write may still be busy with it
      {"Lake.ini.old", File, 3600, true},       // not our name
      {".kxcsaver-Ab12C", File, 3600, true},    // too short
      {".kxcsaver-Ab12Cd7", File, 3600, true},  // too long
      {".kxcsaver-Ab.2Cd", File, 3600, true},
      {".Kxcsaver-Ab12Cd", File, 3600, true},
      {".kxcsaver-Link01", Link, 3600, true},   // never followed, never removed
      {".kxcsaver-Fold01", Folder, 3600, true},
      {".kxcsaver-Other1", OthersFile, 3600, true},
  };
  std::set<std::string> want{"Lake.ini"};
  for (const auto& c : cases) {
    const std::string path = dir / "f/" + c.Name;
    if (c.Kind == OthersFile && !IsRoot()) continue;
    if (c.Kind == Link) ::symlink((dir / "outside/.kxcsaver-Targ01").c_str(), path.c_str());
    if (c.Kind == Folder) kxtest::MakeDir(path);
    if (c.Kind == File || c.Kind == OthersFile) WriteFile(path, "half a file");
    if (c.Kind == OthersFile) {
      ASSERT_EQ(::chown(path.c_str(), kOtherUser, kOtherUser), 0);
    }
    Age(path, c.Age);
    if (c.Kept) want.insert(c.Name);
  }
  WriteFileAtomically(dir / "f/Lake.ini", "x");
  const std::vector<std::string> left = kxtest::ListDir(dir / "f");
  EXPECT_EQ(std::set<std::string>(left.begin(), left.end()), want);
  EXPECT_EQ(ReadFile(dir / "outside/.kxcsaver-Targ01"), "kept");
  // The new file of a write is of the pattern the clean-up looks for.
  EXPECT_TRUE(IsWriteFileName(NewWriteFileName()));
}

TEST(UserFiles, WritesReplaceTheWholeFileOrNothing) {
  TScratchDir dir;
  // Missing folders are made; an existing file is replaced and keeps its mode.
  const std::string path = dir / "a/b/Lake.ini";
  WriteFileAtomically(path, "first");
  EXPECT_EQ(ReadFile(path), "first");
  ::chmod(path.c_str(), 0600);
  WriteFileAtomically(path, "second");
  EXPECT_EQ(ReadFile(path), "second");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  // A target that cannot be replaced (a folder) is reported; nothing is left behind.
  ::mkdir((dir / "a/b/Folder.ini").c_str(), 0700);
  EXPECT_THROW(WriteFileAtomically(dir / "a/b/Folder.ini", "x"), std::runtime_error);
  EXPECT_EQ(kxtest::ListDir(dir / "a/b"), (std::vector<std::string>{"Folder.ini", "Lake.ini"}));
}

namespace {

// A folder the user may not write in: the message gives the reason of the
// call that failed ("Permission denied"), for the file's own folder and for
// a folder the write would have to make. Run as another user when root, whom
// the folder's mode does not stop.
TEST(UserFiles, AFolderThatCannotBeWrittenIsReportedWithItsReason) {
  TScratchDir dir;
  ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
  int report[2];
  ASSERT_EQ(::pipe(report), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(report[0]);
    if (IsRoot() && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    if (::mkdir((dir / "ro").c_str(), 0500) != 0) ::_exit(3);
    // The user's configuration folder, read-only, and one whose parent is.
    if (::mkdir((dir / "cfg").c_str(), 0700) != 0 || ::mkdir((dir / "cfg/kxcsaver").c_str(), 0500) != 0) ::_exit(4);
    std::string text = WriteError(dir / "ro/Lake.ini") + "\n" + WriteError(dir / "ro/made/Lake.ini") + "\n";
    ::setenv("XDG_CONFIG_HOME", (dir / "cfg").c_str(), 1);
    text += WriteError(UserConfigFolder() + "Lake.ini") + "\n";
    ::setenv("XDG_CONFIG_HOME", (dir / "ro").c_str(), 1);
    text += WriteError(UserConfigFolder() + "Lake.ini") + "\n";
    (void)!::write(report[1], text.data(), text.size());
    ::_exit(0);
  }
  ::close(report[1]);
  std::string text;
  char buf[512];
  for (ssize_t n; (n = ::read(report[0], buf, sizeof buf)) > 0;) text.append(buf, size_t(n));
  ::close(report[0]);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  std::vector<std::string> messages;
  for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
    messages.push_back(text.substr(at, end - at));
  ASSERT_EQ(messages.size(), 4u) << text;
  for (const std::string& message : messages) {
    EXPECT_NE(message.find(std::strerror(EACCES)), std::string::npos) << message;
    EXPECT_EQ(message.find(std::strerror(ENOENT)), std::string::npos) << message;
  }
}

}  // namespace
