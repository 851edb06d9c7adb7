#include <gtest/gtest.h>

#include <chrono>

#include "package/uIniFile.h"
#include "support/TestSupport.h"

using namespace kx;

namespace {

TEST(ParseInteger, AcceptsWholeDecimalNumbersOnly) {
  const std::pair<const char*, std::optional<int32_t>> cases[] = {
      {"30", 30},        {"-5", -5},          {"+7", 7},          {" 12 ", 12},
      {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}, {"2147483648", std::nullopt},
      {"99999999999999999999", std::nullopt}, {"", std::nullopt}, {"-", std::nullopt},
      {"yes", std::nullopt}, {"12a", std::nullopt}, {"1 2", std::nullopt}, {"0x10", std::nullopt},
      {"1.5", std::nullopt},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseInteger(text), value) << text;
}

TEST(ParseInteger, HexadecimalWhereAllowed) {
  EXPECT_EQ(ParseInteger("0x1F", TIntSyntax::DecimalOrHex), 31);
  EXPECT_EQ(ParseInteger("0XfF", TIntSyntax::DecimalOrHex), 255);
  EXPECT_EQ(ParseInteger("0xFFFFFFFF", TIntSyntax::DecimalOrHex), -1);
  EXPECT_EQ(ParseInteger("0x100000000", TIntSyntax::DecimalOrHex), std::nullopt);
  EXPECT_EQ(ParseInteger("0x", TIntSyntax::DecimalOrHex), std::nullopt);
  EXPECT_EQ(ParseInteger("42", TIntSyntax::DecimalOrHex), 42);
}

const char* const kText =
    "ignored=before any section\r\n"
    "[Default]\r\n"
    "Duration=45\r\n"
    "Title=a=b=c\r\n"
    "; a comment=1\r\n"
    "no equals sign\r\n"
    "  Spaced  =  padded value  \r\n"
    "Duration=99\r\n"
    "[FileList]\n"
    "b.jpg=1\n"
    "A.JPG=0\r"
    "c.kxp=1\n"
    "[default]\n"
    "Later=1\n";

TEST(TIniFile, ReadingRules) {
  const TIniFile ini = TIniFile::FromText(kText);
  EXPECT_EQ(ini.ReadInteger("DEFAULT", "duration", 0), 45);  // first of a repeated key
  EXPECT_EQ(ini.ReadString("Default", "Title", ""), "a=b=c");
  EXPECT_EQ(ini.ReadString("Default", "Spaced", ""), "padded value");
  EXPECT_FALSE(ini.ValueExists("Default", "; a comment"));
  EXPECT_FALSE(ini.ValueExists("Default", "no equals sign"));
  EXPECT_FALSE(ini.ValueExists("Default", "ignored"));
  EXPECT_EQ(ini.ReadInteger("Default", "Later", 0), 1);  // a repeated section continues the first
  EXPECT_EQ(ini.ReadSection("filelist"), (std::vector<std::string>{"b.jpg", "A.JPG", "c.kxp"}));
  EXPECT_EQ(ini.ReadString("Default", "Missing", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("Nowhere", "Duration", "dflt"), "dflt");
  EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"Default", "FileList"}));
}

TEST(TIniFile, BooleansAreIntegers) {
  const TIniFile ini = TIniFile::FromText("[D]\nyes=yes\ntwo=2\nzero=0\nneg=-1\nempty=\n");
  const std::tuple<const char*, bool, bool> cases[] = {
      {"yes", true, true}, {"yes", false, false}, {"two", false, true}, {"zero", true, false},
      {"neg", false, true}, {"empty", true, true}, {"absent", false, false},
  };
  for (const auto& [key, def, expected] : cases) EXPECT_EQ(ini.ReadBool("D", key, def), expected) << key;
}

TEST(TIniFile, WritingKeepsOrderAndReplacesInPlace) {
  TIniFile ini = TIniFile::FromText("[A]\nx=1\ny=2\n");
  ini.WriteInteger("a", "X", 5);
  ini.WriteBool("A", "z", true);
  ini.WriteString("B", "text", "two\r\nlines");
  EXPECT_EQ(ini.ToText(), "[A]\r\nx=5\r\ny=2\r\nz=1\r\n\r\n[B]\r\ntext=two  lines\r\n");
  ini.DeleteKey("A", "Y");
  ini.EraseSection("b");
  EXPECT_EQ(ini.ToText(), "[A]\r\nx=5\r\nz=1\r\n");
}

// Erasing keeps the lookups right for what stays and for what comes after.
TEST(TIniFile, LookupsFollowErasedKeysAndSections) {
  TIniFile ini = TIniFile::FromText("[A]\nk=1\nx=2\nk=3\n[B]\ny=4\n[C]\nz=5\n");
  ini.DeleteKey("a", "K");
  EXPECT_FALSE(ini.ValueExists("A", "k"));
  EXPECT_EQ(ini.ReadString("A", "x", ""), "2");
  ini.WriteString("A", "k", "6");
  EXPECT_EQ(ini.ReadSection("A"), (std::vector<std::string>{"x", "k"}));
  ini.EraseSection("B");
  EXPECT_FALSE(ini.SectionExists("b"));
  EXPECT_EQ(ini.ReadString("c", "Z", ""), "5");
  ini.WriteString("B", "y", "7");
  EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"A", "C", "B"}));
  EXPECT_EQ(ini.ReadString("b", "y", ""), "7");
}

// Texts of many sections or keys read in time linear in their size: ten
// times the text takes about ten times as long, not a hundred.
TEST(TIniFile, ManySectionsAndKeysReadInLinearTime) {
  const auto seconds = [](int n, bool sections) {
    std::string text = sections ? "" : "[FileList]\n";
    for (int i = 0; i < n; ++i)
      text += sections ? "[S" + std::to_string(i) + "]\nk=" + std::to_string(i) + "\n"
                       : "p" + std::to_string(i) + ".jpg=1\n";
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
      const auto start = std::chrono::steady_clock::now();
      const TIniFile ini = TIniFile::FromText(text);
      int found = 0;
      for (int i = 0; i < n; i += 7)
        found += sections ? ini.ReadInteger("s" + std::to_string(i), "K", -1) == i
                          : ini.ReadBool("filelist", "P" + std::to_string(i) + ".JPG", false);
      EXPECT_EQ(found, (n + 6) / 7);
      best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
  };
  for (const bool sections : {true, false}) {
    const double small = seconds(5'000, sections), large = seconds(50'000, sections);
    EXPECT_LT(large, 35 * small) << (sections ? "sections " : "keys ") << small << " s, " << large << " s";
  }
}

// One text holds at most a million lines; the rest is not read.
TEST(TIniFile, LinesBeyondTheCapAreIgnored) {
  std::string text = "[A]\n";
  for (size_t i = 1; i < kMaxIniLines - 1; ++i) text += "\n";
  text += "last=1\nbeyond=1\n";
  const TIniFile ini = TIniFile::FromText(text);
  EXPECT_TRUE(ini.ValueExists("A", "last"));
  EXPECT_FALSE(ini.ValueExists("A", "beyond"));
}

TEST(TIniFile, SavesAndReadsBack) {
  kxtest::TScratchDir dir;
  TIniFile ini;
  ini.WriteString("General", "ProductName", "Lake");
  ini.WriteInteger("Default", "Duration", -3);
  ASSERT_TRUE(ini.SaveToFile(dir / "user.ini"));
  const TIniFile back = TIniFile::FromFile(dir / "user.ini");
  EXPECT_EQ(back.ReadString("general", "productname", ""), "Lake");
  EXPECT_EQ(back.ReadInteger("Default", "Duration", 0), -3);
  EXPECT_FALSE(ini.SaveToFile(dir / "no/such/dir/user.ini"));
  EXPECT_TRUE(TIniFile::FromFile(dir / "missing.ini").SectionNames().empty());
}

}  // namespace
