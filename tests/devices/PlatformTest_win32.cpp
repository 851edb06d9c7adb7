#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "devices/uMessageBox.h"
#include "devices/uSharedFolder.h"
#include "os/uPlatform.h"
#include "os/win32/uWidePath.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::Backslashed;
using kxtest::TScratchDir;

namespace {

std::wstring ShortPath(const std::wstring& path) {
  std::wstring out(MAX_PATH * 4, L'\0');
  out.resize(::GetShortPathNameW(path.c_str(), out.data(), DWORD(out.size())));
  return out;
}

// A program started by its short (8.3) path still names its files by the
// long path, component for component, in every script.
TEST(ExpandLongPath, TurnsAShortPathIntoTheLongOne) {
  TScratchDir dir;
  const std::string folder = dir / "J\xC3\xB6rg Long Folder";                  // Jörg Long Folder
  const std::string program = folder + "/\xE7\x94\xA8\xE6\x88\xB7 Saver.scr";  // 用户 Saver.scr
  kxtest::MakeDir(folder);
  kxtest::WriteFile(program, "player");
  const std::string longForm = Backslashed(program);
  const std::wstring shortForm = ShortPath(WidePath(longForm));
  ASSERT_FALSE(shortForm.empty());
  const std::string shortUtf8 = Utf8Path(shortForm);
  // Where the volume keeps no short names the short form is the long one
  // and only the round trip is checked.
  EXPECT_EQ(ExpandLongPath(shortUtf8), longForm);
  EXPECT_EQ(ExpandLongPath(longForm), longForm);
  EXPECT_EQ(ExpandLongPath(program), longForm);  // forward slashes too
  EXPECT_EQ(ExpandLongPath(Backslashed(folder + "/none.scr")), "");
}

// ---- the shared folder --------------------------------------------------

std::optional<std::wstring> RegistryString(HKEY root, const wchar_t* key, const wchar_t* name) {
  wchar_t buf[32768];
  DWORD bytes = sizeof buf;
  if (::RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, buf, &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(buf);
}

constexpr wchar_t kVersionKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

TEST(GetSharedFolder, UnderTheMachinesProgramFilesFolder) {
  const std::optional<std::wstring> value = RegistryString(HKEY_LOCAL_MACHINE, kVersionKey, L"ProgramFilesDir");
  ASSERT_TRUE(value && !value->empty()) << "the system has no ProgramFilesDir";
  std::vector<std::string> shown;
  const TMessageBoxHandler previous = SetMessageBoxHandler([&](const std::string& text) { shown.push_back(text); });
  const std::string folder = GetSharedFolder();
  SetMessageBoxHandler(previous);
  std::string want = Utf8Path(*value);
  if (want.back() != '\\') want += '\\';
  EXPECT_EQ(folder, want + "Ardmont\\Common\\");
  EXPECT_TRUE(shown.empty());
}

// The machine's registry seen through a private key for the test's lifetime,
// so that values can be planted or left out without touching the machine's.
class TPrivateMachineKey {
 public:
  TPrivateMachineKey() {
    m_name = L"Software\\kxtest-machine-" + std::to_wstring(::GetCurrentProcessId());
    ::RegCreateKeyExW(HKEY_CURRENT_USER, m_name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
    m_overridden = m_key && ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_key) == ERROR_SUCCESS;
  }
  ~TPrivateMachineKey() {
    if (m_overridden) ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    if (m_key) ::RegCloseKey(m_key);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, m_name.c_str());
  }
  bool Ready() const { return m_overridden; }
  void Plant(const std::wstring& value, DWORD type) {
    HKEY key = nullptr;
    ::RegCreateKeyExW(m_key, kVersionKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    ::RegSetValueExW(key, L"ProgramFilesDir", 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                     DWORD((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
  }

 private:
  std::wstring m_name;
  HKEY m_key = nullptr;
  bool m_overridden = false;
};

TEST(GetSharedFolder, PlantedValuesAndTheProgramsFolderWithoutOne) {
  struct Case {
    const wchar_t* Value;  // null: no value at all
    DWORD Type;
    std::string Want;  // "": the program's folder, shown to the user
  };
  wchar_t systemDrive[64] = L"";
  ::GetEnvironmentVariableW(L"SystemDrive", systemDrive, 64);
  const Case cases[] = {
      {L"D:\\Programme", REG_SZ, "D:\\Programme\\Ardmont\\Common\\"},
      {L"D:\\Programme\\", REG_SZ, "D:\\Programme\\Ardmont\\Common\\"},
      {L"D:\\J\u00f6rg \u7528\u6237", REG_SZ, "D:\\J\xC3\xB6rg \xE7\x94\xA8\xE6\x88\xB7\\Ardmont\\Common\\"},
      {L"%SystemDrive%\\Apps", REG_EXPAND_SZ, Utf8Path(systemDrive) + "\\Apps\\Ardmont\\Common\\"},
      {L"", REG_SZ, ""},
      {nullptr, REG_SZ, ""},
  };
  const std::string program = ExecutablePath();
  const std::string programFolder = program.substr(0, program.find_last_of('\\') + 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Want);
    TPrivateMachineKey machine;
    if (!machine.Ready()) GTEST_SKIP() << "RegOverridePredefKey is not available";
    if (c.Value) machine.Plant(c.Value, c.Type);
    std::vector<std::string> shown;
    const TMessageBoxHandler previous =
        SetMessageBoxHandler([&](const std::string& text) { shown.push_back(text); });
    const std::string folder = GetSharedFolder();
    SetMessageBoxHandler(previous);
    if (!c.Want.empty()) {
      EXPECT_EQ(folder, c.Want);
      EXPECT_TRUE(shown.empty());
    } else {
      // The test program's folder holds no "Pellwick\" to take out.
      EXPECT_EQ(folder, programFolder + "Ardmont\\Common\\");
      EXPECT_EQ(shown, std::vector<std::string>{programFolder});
    }
  }
}

}  // namespace
