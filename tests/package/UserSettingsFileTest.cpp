// The user settings file's reader and writer on their own; the show's and the
// dialog's use of them are tested with the show and the dialog.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "package/uUserSettingsFile.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::ReadFile;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

// A project whose every value differs from the fixed defaults of both
// readers, so that a default taken from the wrong place shows.
TKXCSetting Project() {
  TKXCSetting s;
  s.Stretch = true, s.Proportional = false;  // image size 1
  s.ShowImageMode = 2;
  s.Speed = 140;  // position 12
  s.Sound = false, s.Music = false, s.Transition = false;
  s.Duration = 45;
  s.DirectX = false, s.DirectXQuality = 2;
  s.ShowClock = true, s.ClockPos = 3;
  return s;
}

std::optional<TUserSettings> Read(const std::string& path, TUserSettingsReader reader) {
  TUserSettings values;
  SetFromProject(values, Project());
  return ReadUserSettingsFile(path, reader, values);
}

struct TKeyCase {
  const char* Key;
  const char* Written;  // a number the key takes
  int32_t Value;        // what that reads as
  int32_t ShowDefault, DialogDefault;
  std::function<int32_t(const TUserSettings&)> Get;
};

// Each key of [Setting]: the file's value when it has a number, else the
// reader's default (the project's or a fixed one) when the key is missing
// or holds something else.
TEST(UserSettingsFile, EachKeyReadsItsValueOrTheReadersDefault) {
  const TKeyCase cases[] = {
      {"ImageSize", "2", 2, -1, 1, [](const TUserSettings& u) { return u.ImageSize; }},
      {"ImageMode", "3", 3, 2, 2, [](const TUserSettings& u) { return u.ImageMode; }},
      {"Speed", "0", 0, -1, 12, [](const TUserSettings& u) { return u.SpeedPosition; }},
      {"Sound", "1", 1, 0, 0, [](const TUserSettings& u) { return int32_t(u.Sound); }},
      {"Music", "5", 1, 0, 0, [](const TUserSettings& u) { return int32_t(u.Music); }},  // any integer but 0
      {"Transition", "1", 1, 0, 0, [](const TUserSettings& u) { return int32_t(u.Transition); }},
      {"Duration", " 7 ", 7, 45, 45, [](const TUserSettings& u) { return u.Duration; }},
      {"DirectX", "0", 0, 1, 0, [](const TUserSettings& u) { return int32_t(u.DirectX); }},
      {"DirectXQuality", "0", 0, 1, 2, [](const TUserSettings& u) { return u.DirectXQuality; }},
      {"ShowClock", "1", 1, 0, 0, [](const TUserSettings& u) { return int32_t(u.ShowClock); }},
      {"ClockPos", "2", 2, 1, 1, [](const TUserSettings& u) { return u.ClockPos; }},
      {"CustomMusic", "1", 1, 0, 0, [](const TUserSettings& u) { return int32_t(u.CustomMusic); }},
      {"ShuffleMusic", "0", 0, 1, 1, [](const TUserSettings& u) { return int32_t(u.ShuffleMusic); }},
      {"Index", "4", 4, 0, 0, [](const TUserSettings& u) { return u.Index.Value; }},
  };
  TScratchDir dir;
  const std::string path = dir / "Lake.ini";
  for (const TKeyCase& c : cases) {
    // [Files] keeps the file from being empty when the key is missing.
    const std::pair<const char*, std::string> files[] = {
        {"present", std::string("[Setting]\r\n") + c.Key + "=" + c.Written + "\r\n"},
        {"missing", "[Files]\r\n1=\r\n"},
        {"not a number", std::string("[Setting]\r\n") + c.Key + "=x" + c.Written + "\r\n"},
        {"empty", std::string("[Setting]\r\n") + c.Key + "=\r\n"},
    };
    for (const auto& [what, text] : files) {
      WriteFile(path, text);
      const bool present = std::string(what) == "present";
      const std::optional<TUserSettings> show = Read(path, TUserSettingsReader::Show);
      const std::optional<TUserSettings> dialog = Read(path, TUserSettingsReader::Dialog);
      ASSERT_TRUE(show && dialog);
      EXPECT_EQ(c.Get(*show), present ? c.Value : c.ShowDefault) << c.Key << " " << what << ", show";
      EXPECT_EQ(c.Get(*dialog), present ? c.Value : c.DialogDefault) << c.Key << " " << what << ", dialog";
    }
  }
}

TEST(UserSettingsFile, NoFileIsNoRecord) {
  TScratchDir dir;
  EXPECT_FALSE(Read(dir / "Lake.ini", TUserSettingsReader::Show));
  // A folder in the file's place is no settings file either: the show keeps
  // the project's settings and the dialog shows them.
  kxtest::MakeDir(dir / "Folder.ini");
  EXPECT_FALSE(Read(dir / "Folder.ini", TUserSettingsReader::Show));
  EXPECT_FALSE(Read(dir / "Folder.ini", TUserSettingsReader::Dialog));
  // An empty file is a file: every key takes its default.
  WriteFile(dir / "Lake.ini", "");
  const std::optional<TUserSettings> empty = Read(dir / "Lake.ini", TUserSettingsReader::Show);
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->DirectX);
  EXPECT_EQ(empty->ImageMode, 2);
}

// "Index" and the keys of [Files] keep how they were spelled: the window
// takes only the decimal it writes, the show any integer.
TEST(UserSettingsFile, PicturePositionsKeepTheirSpelling) {
  TScratchDir dir;
  WriteFile(dir / "Lake.ini",
            "[Setting]\r\nIndex=03\r\n[Files]\r\n3=\r\n03=\r\n+3=\r\n-1=\r\nx=\r\n99999999999=\r\n=\r\n 7 =\r\n");
  const std::optional<TUserSettings> u = ReadUserSettingsFile(dir / "Lake.ini", TUserSettingsReader::Dialog);
  ASSERT_TRUE(u);
  EXPECT_EQ(u->Index, (TPicturePosition{3, false}));
  EXPECT_EQ(u->Files, (std::vector<TPicturePosition>{{3, true}, {3, false}, {3, false}, {-1, true}, {7, true}}));
  WriteFile(dir / "Lake.ini", "[Setting]\r\nIndex=none\r\n");
  EXPECT_EQ(ReadUserSettingsFile(dir / "Lake.ini", TUserSettingsReader::Show)->Index, (TPicturePosition{0, false}));
}

TUserSettings EveryValue(int32_t (*pick)(int32_t min, int32_t max)) {
  TUserSettings u;
  for (const TUserSettingKey& key : UserSettingKeys()) {
    if (auto* m = std::get_if<int32_t TUserSettings::*>(&key.Field)) u.*(*m) = pick(key.Min, key.Max);
    if (auto* m = std::get_if<bool TUserSettings::*>(&key.Field)) u.*(*m) = pick(key.Min, key.Max) != 0;
    if (auto* m = std::get_if<TPicturePosition TUserSettings::*>(&key.Field)) u.*(*m) = {pick(key.Min, key.Max), true};
  }
  u.MusicList = {"/m/b.mp3", "/m/a.ogg"};
  u.Files = {{1, true}, {4, true}};
  return u;
}

// What one writer writes, both readers read back as it was, at either end
// of each key's limits and beyond them (a reader never clamps: the show and
// the dialog decide what such values mean).
TEST(UserSettingsFile, WrittenValuesReadBackAtAndBeyondTheirLimits) {
  using TPick = int32_t (*)(int32_t, int32_t);
  const TPick picks[] = {
      [](int32_t min, int32_t) { return min; },
      [](int32_t, int32_t max) { return max; },
      [](int32_t, int32_t max) { return max == std::numeric_limits<int32_t>::max() ? max : max + 1; },
      [](int32_t min, int32_t) { return min - 1; },
  };
  constexpr uint32_t kAll = kSettingsDialogPart | kCurrentPicturePart | kUntickedPicturesPart;
  TScratchDir dir;
  for (const TPick pick : picks) {
    const TUserSettings written = EveryValue(pick);
    WriteUserSettingsFile(dir / "Lake.ini", written, kAll);
    for (const TUserSettingsReader reader : {TUserSettingsReader::Show, TUserSettingsReader::Dialog}) {
      const std::optional<TUserSettings> read = ReadUserSettingsFile(dir / "Lake.ini", reader);
      ASSERT_TRUE(read);
      EXPECT_TRUE(*read == written) << ReadFile(dir / "Lake.ini");
    }
  }
}

// Each writer replaces its own parts and keeps the rest of the file, the
// keys and sections of others and those nobody knows, in their places.
TEST(UserSettingsFile, AWriterReplacesOnlyItsParts) {
  TScratchDir dir;
  const std::string path = dir / "Lake.ini";
  const std::string before =
      "[Files]\r\n2=\r\n\r\n[Setting]\r\nIndex=4\r\nMine=x\r\nDuration=9\r\n\r\n[MusicList]\r\n/old.mp3=\r\n";
  TUserSettings u;
  u.Duration = 12, u.Index = {6, true}, u.Files = {{0, true}}, u.MusicList = {"/new.mp3"};

  WriteFile(path, before);
  WriteUserSettingsFile(path, u, kCurrentPicturePart);
  EXPECT_EQ(ReadFile(path),
            "[Files]\r\n2=\r\n\r\n[Setting]\r\nIndex=6\r\nMine=x\r\nDuration=9\r\n\r\n[MusicList]\r\n/old.mp3=\r\n");

  WriteFile(path, before);
  WriteUserSettingsFile(path, u, kCurrentPicturePart | kUntickedPicturesPart);
  EXPECT_EQ(ReadFile(path),
            "[Setting]\r\nIndex=6\r\nMine=x\r\nDuration=9\r\n\r\n[MusicList]\r\n/old.mp3=\r\n\r\n[Files]\r\n0=\r\n");

  WriteFile(path, before);
  WriteUserSettingsFile(path, u, kSettingsDialogPart);
  EXPECT_EQ(ReadFile(path),
            "[Files]\r\n2=\r\n\r\n[Setting]\r\nIndex=4\r\nMine=x\r\nDuration=12\r\nImageSize=0\r\nImageMode=0\r\n"
            "Speed=-1\r\nSound=0\r\nMusic=0\r\nTransition=0\r\nDirectX=0\r\nDirectXQuality=0\r\nCustomMusic=0\r\n"
            "ShuffleMusic=0\r\nShowClock=0\r\nClockPos=0\r\n\r\n[MusicList]\r\n/new.mp3=\r\n");
}

TEST(UserSettingsFile, SpeedScale) {
  EXPECT_EQ(SpeedAt(0), 10);
  EXPECT_EQ(SpeedAt(10), 100);
  EXPECT_EQ(SpeedAt(20), 500);
  EXPECT_EQ(SpeedAt(21), std::nullopt);
  EXPECT_EQ(SpeedAt(kNoSpeedPosition), std::nullopt);
  EXPECT_EQ(SpeedPositionOf(45), 3);
  EXPECT_EQ(SpeedPositionOf(65), std::nullopt);
}

}  // namespace
