#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "ui/uKXForms.h"
#include "ui/uTextFormReader.h"

using namespace kx;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

using Lines = std::vector<std::string>;

// One definition as the authoring side writes it: counted form, bindings and trailing section.
std::string Definition(const Lines& form, const Lines& bindings, const Lines& trailing = {"Dummy"}) {
  std::string text = std::to_string(form.size()) + "\r\n";
  for (const std::string& l : form) text += l + "\r\n";
  text += std::to_string(bindings.size()) + "\r\n";
  for (const std::string& l : bindings) text += l + "\r\n";
  text += std::to_string(trailing.size()) + "\r\n";
  for (const std::string& l : trailing) text += l + "\r\n";
  return text;
}

Lines Form(const std::string& name) { return {"object " + name + ": TfmForm", "  Caption = 'x'", "end"}; }

TKXForms Load(const std::string& text) {
  TKXForms forms;
  forms.LoadDefinitionsFromText(text);
  return forms;
}

}  // namespace

TEST(KXForms, LoadsDefinitionsAndFindsThemByName) {
  const TKXForms forms = Load("3\r\n" + Definition(Form("MainWindow"), {"1", "Label1", "1", "About", " ", " "}) +
                              Definition(Form("About"), {}, {}) +
                              Definition({"object mainWINDOW: TForm", "end"}, {"0"}) + "garbage after the last\r\n");
  ASSERT_EQ(forms.Forms.size(), 3u);
  EXPECT_EQ(forms.Forms[0].WindowName, "MainWindow");
  EXPECT_EQ(forms.Forms[0].DefinitionLines, Form("MainWindow"));
  const TAction* a = forms.Forms[0].Bindings.FindAction("LABEL1");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->ActionType, 1);
  EXPECT_EQ(a->Param1, "About");
  EXPECT_TRUE(forms.Forms[1].Bindings.Items.empty());  // a zero-line bindings and trailing section
  // By name ignoring case and surrounding blanks; the first of two alike.
  for (const char* name : {"mainwindow", "  MainWindow \r\n", "MAINWINDOW"})
    EXPECT_EQ(&forms.FindForm(name), &forms.Forms[0]) << name;
  EXPECT_EQ(&forms.FindForm("about"), &forms.Forms[1]);
  EXPECT_THROW(forms.FindForm("Settings"), std::runtime_error);
  EXPECT_THROW(forms.FindForm(""), std::runtime_error);
}

TEST(KXForms, WindowNameComesFromTheFirstLine) {
  const struct {
    const char* first;
    const char* name;
  } cases[] = {
      {"object MainWindow: TfmForm", "MainWindow"},
      {"object Main : TfmForm", "Main"},  // a blank before the colon is no part of the name
      {"object \x19Main\t\x01: TForm", "Main"},  // nor control characters: FindForm trims them too
      {"objekt Other: TForm", "Other"},   // the seven characters are not checked
      {"object MainWindow", ""},
      {"object:", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    TKXForms forms;
    forms.AddForm(c.first, "");
    EXPECT_EQ(forms.Forms.at(0).WindowName, c.name) << c.first;
  }
}

TEST(KXForms, NoWindowsWhenTheCountIsZeroOrLess) {
  // An empty file too: kxtool pack writes one for a project without windows.
  for (const char* text : {"0\r\n", "0", "-2\r\n3\r\n", "", "\r\n"}) {
    const TKXForms forms = Load(text);
    EXPECT_TRUE(forms.Forms.empty()) << text;
    EXPECT_THROW(forms.FindForm("MainWindow"), std::runtime_error);
  }
}

TEST(KXForms, EmptyBindingLinesBecomeABlank) {
  const TKXForms forms = Load("1\r\n" + Definition(Form("W"), {"1", "Bevel1", "0", "", "", "x"}));
  const TAction* a = forms.FindForm("W").Bindings.FindAction("bevel1");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->Param1, " ");
  EXPECT_EQ(a->Param2, " ");
  EXPECT_EQ(a->Param3, "x");
}

TEST(KXForms, DamagedFilesStopTheLoadAndNameTheLine) {
  const std::string good = Definition(Form("W"), {"0"});
  const struct {
    std::string text;
    const char* where;
  } cases[] = {
      {"two\r\n" + good, "line 1:"},
      {"2\r\n" + good, "line 10:"},                       // the second definition is missing
      {"1\r\n3\r\nobject W: T\r\nend\r\n", "line 2:"},   // fewer form lines than announced
      {"1\r\n-1\r\n0\r\n0\r\n", "line 2:"},              // a negative count would walk backwards
      {"1\r\n1\r\nobject W: T\r\n2\r\n0\r\n", "line 4:"},
      {"1\r\n1\r\nobject W: T\r\n0\r\n", "line 5:"},     // the trailing section's count must be there
      {"1\r\n1\r\nobject W: T\r\n0\r\n5\r\nDummy\r\n", "line 5:"},
      {"1\r\n1\r\nobject W: T\r\nx1\r\n0\r\n", "line 4:"},
      // Bindings: a count beyond the lines, an action number that is not a number.
      {"1\r\n" + Definition(Form("W"), {"2", "A", "1", "", "", ""}), "line 6:"},
      {"1\r\n" + Definition(Form("W"), {"1", "A", "one", "", "", ""}), "line 6:"},
      {"1\r\n" + Definition(Form("W"), {"x"}), "line 6:"},
  };
  for (const auto& c : cases) {
    TKXForms forms;
    forms.AddForm("object Old: T", "");
    try {
      forms.LoadDefinitionsFromText(c.text);
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const std::runtime_error& e) {
      EXPECT_TRUE(std::string(e.what()).starts_with(c.where)) << c.text << " -> " << e.what();
    }
    EXPECT_TRUE(forms.Forms.empty()) << c.text;
  }
}

TEST(KXForms, LoadDefinitionsReadsOnlyRegularFiles) {
  TScratchDir dir;
  WriteFile(dir / "KXGUI.kxu", "1\r\n" + Definition(Form("MainWindow"), {"0"}));
  TKXForms forms;
  forms.LoadDefinitions(dir / "KXGUI.kxu");
  EXPECT_EQ(forms.FindForm("MainWindow").WindowName, "MainWindow");

  ::mkfifo((dir / "fifo").c_str(), 0600);  // opened without blocking, refused as not regular
  for (const std::string& path : {dir / "missing.kxu", dir.Path(), dir / "fifo"}) {
    EXPECT_THROW(forms.LoadDefinitions(path), std::runtime_error) << path;
    EXPECT_TRUE(forms.Forms.empty());
  }
  WriteFile(dir / "bad.kxu", "1\r\nx\r\n");
  try {
    forms.LoadDefinitions(dir / "bad.kxu");
    ADD_FAILURE();
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), dir / "bad.kxu" + " line 2: the text form's line count 'x' is not a decimal integer");
  }
  // Too many lines is refused before the lines are split.
  WriteFile(dir / "long.kxu", "0" + std::string(kMaxDefinitionLines, '\n'));
  EXPECT_THROW(forms.LoadDefinitions(dir / "long.kxu"), std::runtime_error);
}

TEST(ActionList, ReadsBindings) {
  TActionList list;
  list.LoadFromText("4\r\nA\r\n265\r\nx\r\ny\r\nz\r\na\r\n2\r\n \r\n \r\n \r\nB\r\n-1\r\n\r\n\r\n\r\nC\r\n 7 \r\np\r\nq\r\nr");
  ASSERT_EQ(list.Items.size(), 4u);
  EXPECT_EQ(list.FindAction("a")->ActionType, 9);  // 265 modulo 256; the first of two bindings named A
  EXPECT_EQ(list.FindAction("a")->Param3, "z");
  EXPECT_EQ(list.Items[1].second.Param1, " ");      // a lone blank stays a blank
  EXPECT_EQ(list.FindAction("B")->ActionType, 255);
  EXPECT_EQ(list.FindAction("c")->ActionType, 7);
  EXPECT_EQ(list.FindAction("c")->Param3, "r");
  EXPECT_EQ(list.FindAction("D"), nullptr);

  list.LoadFromText("");
  EXPECT_TRUE(list.Items.empty());
  list.LoadFromText("-5");
  EXPECT_TRUE(list.Items.empty());
  for (const char* bad : {"2147483647\r\nA\r\n1\r\n\r\n\r\n", "1\r\nA\r\n1\r\n\r\n", " \r\n"})
    EXPECT_THROW(list.LoadFromText(bad), std::runtime_error) << bad;
}

TEST(PrepareDefinitionText, RemovesHandlersFrameLinesAndTheFirstVisible) {
  TKXForm form;
  form.WindowName = "MainWindow";
  form.DefinitionLines = {
      "object MainWindow: TfmForm",
      "  BorderIcons = [biSystemMenu]",
      "  borderstyle = bsNone",
      "  FormStyle = fsStayOnTop",
      "  OnShow = FormShow",
      "\tOnClick = X",
      "  Once = 1",
      "  On",
      "  On = 2",
      "  on = 3",
      "  Visible = True",
      "  object Memo1: TMyMemo",
      "    BorderStyle = bsNone",
      "    OnMouseDown = BindResizer",
      "    Visible = False",
      "  end",
      "end",
  };
  const std::string expected =
      "object MainWindow: TfmKXConfigWindow\r\n"
      "  Once = 1\r\n"
      "  on = 3\r\n"
      "  object Memo1: TMyMemo\r\n"
      "    Visible = False\r\n"
      "  end\r\n"
      "end";
  EXPECT_EQ(PrepareDefinitionText(form), expected);

  // Without a window-level Visible line the first component's goes.
  form.DefinitionLines = {"object W: TForm", "  object L: TLabel", "    VISIBLE = False", "  end",
                          "  object M: TLabel", "    Visible = False", "  end", "end"};
  EXPECT_EQ(PrepareDefinitionLines(form),
            (Lines{"object MainWindow: TfmKXConfigWindow", "  object L: TLabel", "  end", "  object M: TLabel",
                   "    Visible = False", "  end", "end"}));
  // The prepared text is still a text form.
  EXPECT_EQ(ReadTextForm(PrepareDefinitionText(form)).ClassName, "TfmKXConfigWindow");
}

TEST(Placeholders, ExpandProjectValues) {
  TKXCProject project;
  project.Settings.ProductName = "Lake";
  project.Settings.Publisher = "Joe's";
  project.Settings.Website = "http://x.example/";
  EXPECT_EQ(ExpandPlaceholders("<ScreensaverName> by <CompanyName>, <Website> <screensavername> <Website>", project),
            "Lake by Joe's, http://x.example/ <screensavername> http://x.example/");
  // In order: a product name holding a later placeholder gets it replaced too.
  project.Settings.ProductName = "<CompanyName>'s";
  EXPECT_EQ(ExpandPlaceholders("<ScreensaverName>", project), "Joe's's");

  EXPECT_EQ(ExpandPlaceholderLines("", project), "");
  EXPECT_EQ(ExpandPlaceholderLines("x", project), "x\r\n");
  EXPECT_EQ(ExpandPlaceholderLines("<Website>\nb\r\n", project), "http://x.example/\r\nb\r\n");
}

TEST(Placeholders, OnePassOverTheTextInTurn) {
  struct TCase {
    const char* Text;
    const char* ProductName;
    const char* Publisher;
    const char* Expected;
  };
  const TCase cases[] = {
      {"<ScreensaverName> by <CompanyName>", "Lake", "Joe", "Lake by Joe"},
      {"<<ScreensaverName>> <Screensaver> <ScreensaverName", "Lake", "Joe", "<Lake> <Screensaver> <ScreensaverName"},
      {"<ScreensaverName><ScreensaverName>", "", "Joe", ""},
      // A value is not searched again for its own placeholder...
      {"<ScreensaverName>", "<ScreensaverName>!", "Joe", "<ScreensaverName>!"},
      {"<CompanyName>", "Lake", "<ScreensaverName><CompanyName>", "<ScreensaverName><CompanyName>"},
      // ...but a later placeholder is replaced wherever the earlier replacements put it,
      {"<ScreensaverName> <ScreensaverName>", "<CompanyName>", "Joe", "Joe Joe"},
      // also across the edge of a value.
      {"<Company<ScreensaverName>", "Name>", "Joe", "Joe"},
      {"<ScreensaverName>Name>", "x<Company", "Joe", "xJoe"},
      {"<Company<ScreensaverName>Name>", "", "Joe", "Joe"},
  };
  for (const TCase& c : cases) {
    TKXCProject project;
    project.Settings.ProductName = c.ProductName;
    project.Settings.Publisher = c.Publisher;
    project.Settings.Website = "W";
    EXPECT_EQ(ExpandPlaceholders(c.Text, project), c.Expected) << c.Text << " with " << c.ProductName;
  }
}

TEST(Placeholders, ExpandedTextStopsAtTheBound) {
  std::string many;
  for (int i = 0; i < 20000; ++i) many += "<ScreensaverName>";
  TKXCProject project;
  project.Settings.ProductName = std::string(1000, 'n');
  EXPECT_EQ(kMaxExpandedTextBytes, 65536u);
  // 20 MB if it went on: the pass stops at the bound and never builds the rest.
  EXPECT_EQ(ExpandPlaceholders(many, project), std::string(65536, 'n'));
  // A text with no placeholder is bounded the same way.
  EXPECT_EQ(ExpandPlaceholders(std::string(70000, 'x'), project).size(), 65536u);

  // A value that holds many later placeholders, each standing for nothing:
  // worked out once, not once per placeholder of the text.
  project.Settings.ProductName.clear();
  for (int i = 0; i < 20000; ++i) project.Settings.ProductName += "<Website>";
  EXPECT_EQ(ExpandPlaceholders(many + "end", project), "end");

  // Lines: the whole result stays within the bound, the line at the bound is cut, and every line kept
  // ends with CR LF.
  project.Settings.ProductName = std::string(1000, 'n');
  std::string lines;
  for (int i = 0; i < 100; ++i) lines += "<ScreensaverName>\n";
  const std::string expandedLines = ExpandPlaceholderLines(lines, project);
  EXPECT_EQ(expandedLines.size(), 65536u);
  EXPECT_EQ(expandedLines.substr(64 * 1002), std::string(1000, 'n') + "\r\n" + std::string(404, 'n') + "\r\n");
  EXPECT_EQ(ExpandPlaceholderLines("<ScreensaverName>" + many, project).size(), 65536u);
}

TEST(Placeholders, TheBoundDoesNotSplitAUtf8Character) {
  // Window texts are UTF-8 by now; a value from the project may hold any bytes.
  struct TCase {
    std::string Value;
    size_t Length;
  };
  const std::string e = "\xC3\xA9", euro = "\xE2\x82\xAC", clef = "\xF0\x9D\x84\x9E";
  // The product name repeats the value, so the first byte past the bound (byte 65,536) is byte
  // 65,536 mod its length of the value.
  const TCase cases[] = {
      {e, 65536},                      // whole é characters end at the bound
      {e + "a", 65535},                // é from 65,535: cut before it
      {euro, 65535},                   // € from 65,535
      {"aa" + euro + "a", 65534},      // € from 65,534 (its last byte would be the first past the bound)
      {"a" + clef + "a", 65533},       // 𝄞 from 65,533
      {clef, 65536},
      {"a\xE9", 65536},                // Windows-1252 é is no UTF-8 character: cut on the byte
      {"\xA9\xE9", 65536},             // a lead byte whose character is broken
      {"\x80", 65536},                 // continuation bytes alone
  };
  for (const TCase& c : cases) {
    std::string full;
    while (full.size() < 70000) full += c.Value;
    TKXCProject project;
    project.Settings.ProductName = full.substr(0, 1000 / c.Value.size() * c.Value.size());
    std::string text;
    for (int i = 0; i < 100; ++i) text += "<ScreensaverName>";
    EXPECT_EQ(ExpandPlaceholders(text, project), full.substr(0, c.Length)) << c.Value.size() << "-byte value";
  }
}

TEST(Placeholders, WindowTextsOnTheWindowAndOnPanelsOnly) {
  TKXCProject project;
  project.Settings.ProductName = "Lake";
  TFormObject window = ReadTextForm(
      "object W: TfmKXConfigWindow\n"
      "  Caption = '<ScreensaverName>'\n"
      "  object L1: TLabel Caption = 'a <ScreensaverName>' end\n"
      "  object B1: TMyButton Caption = '<ScreensaverName>' end\n"
      "  object M1: TMyMemo Text = '<ScreensaverName>' Caption = '<ScreensaverName>' end\n"
      "  object E1: TEdit Text = '<ScreensaverName>' end\n"
      "  object P1: TPanel Caption = '<ScreensaverName>'\n"
      "    object L2: TLabel Caption = '<ScreensaverName>' end\n"
      "  end\n"
      "  object PC: TPageControl\n"
      "    object T1: TTabSheet\n"
      "      object L3: TLabel Caption = '<ScreensaverName>' end\n"
      "    end\n"
      "  end\n"
      "end");
  ExpandWindowPlaceholders(window, project);
  auto text = [](const TFormObject& o, const char* prop) { return std::get<TFormString>(o.FindProperty(prop)->Value.V).Text; };
  EXPECT_EQ(text(window, "Caption"), "Lake");
  EXPECT_EQ(text(window.Children[0], "Caption"), "a Lake");
  EXPECT_EQ(text(window.Children[1], "Caption"), "Lake");
  EXPECT_EQ(text(window.Children[2], "Text"), "Lake");
  EXPECT_EQ(text(window.Children[2], "Caption"), "<ScreensaverName>");
  EXPECT_EQ(text(window.Children[3], "Text"), "<ScreensaverName>");
  EXPECT_EQ(text(window.Children[4], "Caption"), "<ScreensaverName>");  // a panel's own caption stays
  EXPECT_EQ(text(window.Children[4].Children[0], "Caption"), "Lake");
  EXPECT_EQ(text(window.Children[5].Children[0].Children[0], "Caption"), "<ScreensaverName>");
}
