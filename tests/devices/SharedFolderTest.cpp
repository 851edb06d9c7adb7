#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <optional>

#include "devices/uPlatform.h"
#include "support/TestSupport.h"

using namespace kx;

namespace {

// Sets an environment variable for the test's duration (unset with nullopt).
class TEnv {
 public:
  TEnv(const char* name, std::optional<std::string> value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    if (value) ::setenv(name, value->c_str(), 1);
    else ::unsetenv(name);
  }
  ~TEnv() {
    if (m_old) ::setenv(m_name, m_old->c_str(), 1);
    else ::unsetenv(m_name);
  }

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

void MakeShared(const std::string& base) {
  ::mkdir((base + "Ardmont").c_str(), 0700);
  ::mkdir((base + "Ardmont/Common").c_str(), 0700);
}

TEST(SharedFolder, IsTheFirstExistingDataFolder) {
  kxtest::TScratchDir home, data1, data2;
  MakeShared(data2.Path());
  struct TCase {
    const char* name;
    std::optional<std::string> dataHome, dataDirs, homeDir;
    std::string expected;
  };
  const std::string h = home.Path(), d1 = data1.Path(), d2 = data2.Path();
  const TCase cases[] = {
      {"second data folder has it", h, d1 + ":" + d2, h, d2 + "Ardmont/Common/"},
      {"none has it: the user's", h, d1, h, h + "Ardmont/Common/"},
      {"default user folder under HOME", std::nullopt, d1, h, h + ".local/share/Ardmont/Common/"},
      {"relative entries are ignored", "relative", "also/relative:" + d2, h, d2 + "Ardmont/Common/"},
      {"without a slash at the end", h, d2.substr(0, d2.size() - 1), h, d2 + "Ardmont/Common/"},
  };
  for (const TCase& c : cases) {
    TEnv a("XDG_DATA_HOME", c.dataHome), b("XDG_DATA_DIRS", c.dataDirs), d("HOME", c.homeDir);
    EXPECT_EQ(GetSharedFolder(), c.expected) << c.name;
  }
  MakeShared(h);
  TEnv a("XDG_DATA_HOME", h), b("XDG_DATA_DIRS", d2), d("HOME", h);
  EXPECT_EQ(GetSharedFolder(), h + "Ardmont/Common/") << "the user's comes first";
}

}  // namespace
