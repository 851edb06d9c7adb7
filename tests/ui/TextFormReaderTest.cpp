#include <gtest/gtest.h>

#include <string>

#include "ui/uAnsiText.h"
#include "ui/uTextFormReader.h"

using namespace kx;

namespace {

const TFormValue& Prop(const TFormObject& o, std::string_view name) {
  const TFormProperty* p = o.FindProperty(name);
  if (!p) throw std::runtime_error("no property " + std::string(name));
  return p->Value;
}

std::string StringOf(const TFormValue& v) { return std::get<TFormString>(v.V).Text; }

// The string a one-property form gives for its value as written.
std::string ReadStringValue(const std::string& written) {
  return StringOf(Prop(ReadTextForm("object A: TB\n  S = " + written + "\nend\n"), "S"));
}

}  // namespace

TEST(TextFormReader, ReadsEveryPartOfTheNotation) {
  const TFormObject root = ReadTextForm(
      "OBJECT MainWindow: TfmForm\r\n"
      "  Left = -11\r\n"
      "  Color = $00F5D0C0\r\n"
      "  Font.Name = 'MS Sans Serif'\r\n"
      "  Ratio = 1.500000000000000000\r\n"
      "  Money = 12.5C\r\n"
      "  Small = 1E-5S\r\n"
      "  When = 4D\r\n"
      "  Alignment = taRightJustify\r\n"
      "  Font.Style = [fsBold, fsUnderline]\r\n"
      "  Empty = []\r\n"
      "  Lines.Strings = (\r\n"
      "    'one'\r\n"
      "    2 ( nested ))\r\n"
      "  Picture.Data = {\r\n"
      "    0754426974\r\n"
      "    6D6170}\r\n"
      "  Columns = <\r\n"
      "    item [3]\r\n"
      "      Width = 64\r\n"
      "    end\r\n"
      "    Item\r\n"
      "    END>\r\n"
      "  object TTimer\r\n"
      "  end\r\n"
      "  Inherited Panel1: TPanel [2]\r\n"
      "    inline Label1: TLabel\r\n"
      "    end\r\n"
      "  End\r\n"
      "end\r\n");
  EXPECT_EQ(root.Kind, TObjectKind::Object);
  EXPECT_EQ(root.Name, "MainWindow");
  EXPECT_EQ(root.ClassName, "TfmForm");
  EXPECT_FALSE(root.Index);
  EXPECT_EQ(std::get<TFormInt>(Prop(root, "Left").V).Value, -11);
  EXPECT_EQ(std::get<TFormInt>(Prop(root, "color").V).Value, 0xF5D0C0);
  EXPECT_EQ(StringOf(Prop(root, "Font.Name")), "MS Sans Serif");
  EXPECT_EQ(std::get<TFormFloat>(Prop(root, "Ratio").V).Text, "1.500000000000000000");
  EXPECT_EQ(std::get<TFormFloat>(Prop(root, "Money").V).Text, "12.5C");
  EXPECT_EQ(std::get<TFormFloat>(Prop(root, "Small").V).Text, "1E-5S");
  EXPECT_EQ(std::get<TFormFloat>(Prop(root, "When").V).Text, "4D");
  EXPECT_EQ(std::get<TFormIdent>(Prop(root, "Alignment").V).Name, "taRightJustify");
  EXPECT_EQ(std::get<TFormSet>(Prop(root, "Font.Style").V).Names, (std::vector<std::string>{"fsBold", "fsUnderline"}));
  EXPECT_TRUE(std::get<TFormSet>(Prop(root, "Empty").V).Names.empty());
  const auto& list = std::get<TFormList>(Prop(root, "Lines.Strings").V).Items;
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(StringOf(list[0]), "one");
  EXPECT_EQ(std::get<TFormInt>(list[1].V).Value, 2);
  EXPECT_EQ(std::get<TFormIdent>(std::get<TFormList>(list[2].V).Items.at(0).V).Name, "nested");
  EXPECT_EQ(std::get<TFormBinary>(Prop(root, "Picture.Data").V).Bytes, "\x07" "TBitmap");
  const auto& items = std::get<TFormCollection>(Prop(root, "Columns").V).Items;
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].Index, 3);
  EXPECT_EQ(items[0].Props.at(0).Name, "Width");
  EXPECT_FALSE(items[1].Index);
  EXPECT_TRUE(items[1].Props.empty());

  ASSERT_EQ(root.Children.size(), 2u);
  EXPECT_EQ(root.Children[0].Name, "");
  EXPECT_EQ(root.Children[0].ClassName, "TTimer");
  const TFormObject& panel = root.Children[1];
  EXPECT_EQ(panel.Kind, TObjectKind::Inherited);
  EXPECT_EQ(panel.Name, "Panel1");
  EXPECT_EQ(panel.Index, 2);
  ASSERT_EQ(panel.Children.size(), 1u);
  EXPECT_EQ(panel.Children[0].Kind, TObjectKind::Inline);
  EXPECT_EQ(panel.Children[0].ClassName, "TLabel");
}

TEST(TextFormReader, IntegersAtTheirLimits) {
  const struct {
    const char* written;
    int64_t value;
  } cases[] = {
      {"9223372036854775807", INT64_MAX},
      {"-9223372036854775808", INT64_MIN},
      {"$FFFFFFFFFFFFFFFF", -1},
      {"$FFFFFFFF", 4294967295},
      {"-$10", -16},
      {"0", 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(std::get<TFormInt>(Prop(ReadTextForm(std::string("object A: B X = ") + c.written + " end"), "X").V).Value,
              c.value)
        << c.written;
}

TEST(TextFormReader, StringNotation) {
  const struct {
    std::string written;
    std::string text;
  } cases[] = {
      {"''", ""},
      {"'it''s'", "it's"},
      {"''''", "'"},
      {"'a'#39'b'", "a'b"},
      {"#65#$42'c'", "ABc"},
      {"#233", "\xC3\xA9"},                    // a code point, not a byte
      {"#$20AC", "\xE2\x82\xAC"},
      {"#0'x'", std::string("\0x", 2)},
      {"#55357#56832", "\xF0\x9F\x98\x80"},    // a UTF-16 pair joins into one character
      {"#55357'x'", "\xEF\xBF\xBDx"},          // a lone surrogate is U+FFFD
      {"'caf\xE9'", "caf\xC3\xA9"},            // a byte that is not UTF-8: Windows-1252
      {"'\x80 \x9F'", "\xE2\x82\xAC \xC5\xB8"},
      {"'caf\xC3\xA9'", "caf\xC3\xA9"},        // valid UTF-8 stays
      {"'one ' +\r\n    'two' + \n #33", "one two!"},
      {"'a'\t+\t'b'", "ab"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadStringValue(c.written), c.text) << c.written;
}

TEST(TextFormReader, ErrorsNameLineAndColumn) {
  const struct {
    std::string text;
    int line, column;
    const char* what;
  } cases[] = {
      {"object A: B\n  S = 'open\nend", 2, 7, "unterminated string"},
      {"object A: B\n  X = 1\n", 3, 1, "missing end"},
      {"object A: B\n  object C: D\n  end\n  X = 1\nend", 4, 3, "property line after a nested object"},
      {"object A: B\n  D = {0A0}\nend", 2, 11, "odd number"},
      {"object A: B\n  N = 12ab\nend", 2, 7, "malformed number"},
      {"object A: B\n  S = 'a' +\n  X = 1\nend", 3, 3, "expected a string after '+'"},
      {"object A: B\nend\nend", 3, 1, "text after the final end"},
      {"object A: B\n  N = 99999999999999999999\nend", 2, 7, "integer out of range"},
      {"object A: B\n  S = #1114112\nend", 2, 7, "character code out of range"},
      {"object A: B\n  S = 'x'#\nend", 2, 10, "expected a character code"},
      {"thing A: B\nend", 1, 1, "expected object"},
      {"object A: B\n  X 1\nend", 2, 5, "expected '='"},
      {"object A: B\n  X = [a b]\nend", 2, 10, "expected ',' or ']'"},
      {"object A: B\n  X = <\n    item\n      W = 1\n  >\nend", 5, 3, "expected a property name"},
      {"object A: B [x]\nend", 1, 14, "expected an integer position"},
      {"object A: B\n  \xC3\xA9 = \xC3\xA9 ?\nend", 2, 9, "expected a property name, an object or end"},
  };
  for (const auto& c : cases) {
    try {
      ReadTextForm(c.text);
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const TTextFormError& e) {
      EXPECT_EQ(e.Line, c.line) << c.text << ": " << e.what();
      EXPECT_EQ(e.Column, c.column) << c.text << ": " << e.what();
      EXPECT_NE(std::string(e.what()).find(c.what), std::string::npos) << e.what();
    }
  }
}

TEST(TextFormReader, NestingIsCapped) {
  auto nested = [](int levels, const char* open, const char* close) {
    std::string text = "object A: B\n X = ";
    for (int i = 1; i < levels; ++i) text += open;
    text += "1";
    for (int i = 1; i < levels; ++i) text += close;
    return text + "\nend";
  };
  auto objects = [](int levels) {
    std::string text;
    for (int i = 0; i < levels; ++i) text += "object X\n";
    for (int i = 0; i < levels; ++i) text += "end\n";
    return text;
  };
  EXPECT_NO_THROW(ReadTextForm(objects(kMaxFormNesting)));
  EXPECT_THROW(ReadTextForm(objects(kMaxFormNesting + 1)), TTextFormError);
  EXPECT_NO_THROW(ReadTextForm(nested(kMaxFormNesting, "(", ")")));
  EXPECT_THROW(ReadTextForm(nested(kMaxFormNesting + 1, "(", ")")), TTextFormError);
  // Lists and objects count together.
  EXPECT_THROW(ReadTextForm("object A\n" + nested(kMaxFormNesting, "(", ")") + "\nend"), TTextFormError);
}

TEST(TextFormReader, StringsAndBinaryValuesAreCapped) {
  const std::string atCap(kMaxFormValueBytes, 'x');
  EXPECT_EQ(ReadStringValue("'" + atCap + "'").size(), kMaxFormValueBytes);
  EXPECT_THROW(ReadStringValue("'" + atCap + "' + 'y'"), TTextFormError);
  const std::string hex(2 * kMaxFormValueBytes + 2, 'A');
  EXPECT_THROW(ReadTextForm("object A: B\n D = {" + hex + "}\nend"), TTextFormError);
}

TEST(AnsiText, MixesUtf8AndWindows1252ByteByByte) {
  // A valid sequence, a lone lead byte, an overlong form, an undefined byte, a surrogate's encoding.
  EXPECT_EQ(DecodeAnsiText("\xC3\xA9|\xC3|\xC0\xAF|\x81|\xED\xA0\x80"),
            "\xC3\xA9|\xC3\x83|\xC3\x80\xC2\xAF|\xC2\x81|\xC3\xAD\xC2\xA0\xE2\x82\xAC");
}
