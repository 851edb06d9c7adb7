#include <gtest/gtest.h>

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
