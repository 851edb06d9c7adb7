// kxtool form, windows, prepared, kxu-make and kxu-split: window definitions
// read, printed and authored without the original tools.
#include <cstdio>
#include <stdexcept>

#include "os/uFileAccess.h"
#include "os/uPlatform.h"
#include "package/uIniFile.h"
#include "package/uText.h"
#include "package/uWorkFolder.h"
#include "startup/uConfigureMode.h"
#include "startup/uStartup.h"
#include "tools/kxtool.h"
#include "ui/uKXForms.h"
#include "ui/uTextFormReader.h"

namespace kxtool {
namespace {

std::string ReadWholeFile(const std::string& path) {
  const kx::TFilePtr f = kx::OpenRegularFile(path);
  if (!f) throw std::runtime_error("cannot read " + path);
  std::string text;
  char buf[65536];
  for (size_t got; (got = std::fread(buf, 1, sizeof buf, f.get())) > 0;) {
    if (text.size() + got > kx::kMaxDefinitionFileBytes) throw std::runtime_error(path + " is larger than 64 MB");
    text.append(buf, got);
  }
  return text;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  kx::TFilePtr f = kx::CreateWritableFile(path);
  if (!f) throw std::runtime_error("cannot create " + path);
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
  if (std::fclose(f.release()) != 0 || !ok) throw std::runtime_error("cannot write " + path);
}

// --- JSON of a text form ---------------------------------------------------

void Json(std::string& out, std::string_view s) {
  out += '"';
  for (const char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\u%04x", unsigned(c));
          out += hex;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

void Json(std::string& out, const kx::TFormValue& value);

void Json(std::string& out, const std::vector<kx::TFormProperty>& props) {
  out += '[';
  for (size_t i = 0; i < props.size(); ++i) {
    out += i ? ",[" : "[";
    Json(out, props[i].Name);
    out += ',';
    Json(out, props[i].Value);
    out += ']';
  }
  out += ']';
}

void JsonIndex(std::string& out, const std::optional<int32_t>& index) {
  out += index ? std::to_string(*index) : "null";
}

void Json(std::string& out, const kx::TFormValue& value) {
  struct TVisit {
    std::string& out;
    void Typed(const char* type) { out += std::string("{\"type\":\"") + type + "\",\"value\":"; }
    void operator()(const kx::TFormInt& v) { Typed("int"), out += std::to_string(v.Value); }
    void operator()(const kx::TFormFloat& v) { Typed("float"), Json(out, v.Text); }
    void operator()(const kx::TFormIdent& v) { Typed("ident"), Json(out, v.Name); }
    void operator()(const kx::TFormString& v) { Typed("string"), Json(out, v.Text); }
    void operator()(const kx::TFormSet& v) {
      Typed("set");
      out += '[';
      for (size_t i = 0; i < v.Names.size(); ++i) {
        if (i) out += ',';
        Json(out, v.Names[i]);
      }
      out += ']';
    }
    void operator()(const kx::TFormList& v) {
      Typed("list");
      out += '[';
      for (size_t i = 0; i < v.Items.size(); ++i) {
        if (i) out += ',';
        Json(out, v.Items[i]);
      }
      out += ']';
    }
    void operator()(const kx::TFormBinary& v) {
      Typed("binary");
      static const char kHex[] = "0123456789abcdef";
      out += '"';
      for (const char c : v.Bytes) {
        out += kHex[static_cast<unsigned char>(c) >> 4];
        out += kHex[c & 15];
      }
      out += '"';
    }
    void operator()(const kx::TFormCollection& v) {
      Typed("collection");
      out += '[';
      for (size_t i = 0; i < v.Items.size(); ++i) {
        out += i ? ",{\"index\":" : "{\"index\":";
        JsonIndex(out, v.Items[i].Index);
        out += ",\"props\":";
        Json(out, v.Items[i].Props);
        out += '}';
      }
      out += ']';
    }
  };
  std::visit(TVisit{out}, value.V);
  out += '}';
}

void Json(std::string& out, const kx::TFormObject& o) {
  static const char* const kKinds[] = {"object", "inherited", "inline"};
  out += std::string("{\"kind\":\"") + kKinds[int(o.Kind)] + "\",\"name\":";
  Json(out, o.Name);
  out += ",\"class\":";
  Json(out, o.ClassName);
  out += ",\"index\":";
  JsonIndex(out, o.Index);
  out += ",\"props\":";
  Json(out, o.Props);
  out += ",\"children\":[";
  for (size_t i = 0; i < o.Children.size(); ++i) {
    if (i) out += ',';
    Json(out, o.Children[i]);
  }
  out += "]}";
}

// --- definitions ----------------------------------------------------------

// The definitions of a ".kxu" file, or of the package of a screensaver,
// unpacked into a work folder of its own and removed again.
kx::TKXForms LoadForms(const std::string& file) {
  kx::TKXForms forms;
  if (kx::UpperCase(file).ends_with(".KXU")) {
    forms.LoadDefinitions(file);
    return forms;
  }
  if (!kx::OpenRegularFile(file)) throw std::runtime_error("cannot read " + file);
  const TWorkFolderScope work(file);
  kx::TKXCProject project;
  kx::PreparePackage(project, forms, file);
  return forms;
}

// Backslash, CR, LF and TAB written as \\, \r, \n and \t.
std::string Escaped(std::string_view s) {
  std::string out;
  for (const char c : s) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out;
}

// A window name as part of a file name: anything but letters, digits, "_",
// "-" and "." becomes "_".
std::string FileNamePart(std::string_view name) {
  std::string out(name);
  for (char& c : out)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.'))
      c = '_';
  return out;
}

void AddSection(std::string& out, const std::vector<std::string>& lines) {
  out += std::to_string(lines.size()) + "\r\n";
  for (const std::string& l : lines) out += l + "\r\n";
}

// The bindings section of an INI file: one section per component.
std::vector<std::string> BindingLines(const std::string& path) {
  if (!kx::OpenRegularFile(path)) throw std::runtime_error("cannot read " + path);
  const kx::TIniFile ini = kx::TIniFile::FromFile(path);
  const std::vector<std::string> components = ini.SectionNames();
  if (components.empty()) return {};
  std::vector<std::string> lines{std::to_string(components.size())};
  for (const std::string& component : components) {
    const std::optional<int32_t> action = kx::ParseInteger(ini.ReadString(component, "Action", ""));
    if (!action) throw std::runtime_error(path + ": [" + component + "] needs a decimal Action");
    lines.push_back(component);
    lines.push_back(std::to_string(uint8_t(uint32_t(*action))));  // the number the player acts on
    // The authoring side writes a single blank for a parameter left empty.
    for (const char* key : {"Param1", "Param2", "Param3"}) {
      const std::string value = ini.ReadString(component, key, "");
      lines.push_back(value.empty() ? " " : value);
    }
  }
  return lines;
}

}  // namespace

int Form(const Args& args) {
  if (args.size() != 2 || args[1] != "--json") throw std::runtime_error("usage: kxtool form FILE --json");
  const kx::TFormObject root = [&] {
    try {
      return kx::ReadTextForm(ReadWholeFile(args[0]));
    } catch (const kx::TTextFormError& e) {
      throw std::runtime_error(args[0] + " " + e.what());
    }
  }();
  std::string out;
  Json(out, root);
  std::printf("%s\n", out.c_str());
  return 0;
}

int Windows(const Args& args) {
  if (args.size() != 1) throw std::runtime_error("usage: kxtool windows FILE.scr|FILE.kxu");
  const kx::TKXForms forms = LoadForms(args[0]);
  for (const kx::TKXForm& form : forms.Forms) {
    std::printf("window\t%s\n", Escaped(form.WindowName).c_str());
    for (const auto& [component, a] : form.Bindings.Items)
      std::printf("binding\t%s\t%u\t%s\t%s\t%s\n", Escaped(component).c_str(), unsigned(a.ActionType),
                  Escaped(a.Param1).c_str(), Escaped(a.Param2).c_str(), Escaped(a.Param3).c_str());
  }
  return 0;
}

int Prepared(const Args& args) {
  if (args.size() != 2) throw std::runtime_error("usage: kxtool prepared FILE.scr|FILE.kxu NAME");
  const kx::TKXForms forms = LoadForms(args[0]);
  for (const std::string& line : kx::PrepareDefinitionLines(forms.FindForm(args[1]))) std::printf("%s\n", line.c_str());
  return 0;
}

int KxuMake(const Args& args) {
  std::vector<std::string> inputs;
  std::string out;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size()) out = args[++i];
    else inputs.push_back(args[i]);
  }
  if (inputs.empty() || out.empty()) throw std::runtime_error("usage: kxtool kxu-make FORM[:BINDINGS] ... -o OUT.kxu");
  std::string text = std::to_string(inputs.size()) + "\r\n";
  for (const std::string& input : inputs) {
    const size_t colon = input.rfind(':');
    const std::string formPath = input.substr(0, colon);
    const std::string formText = ReadWholeFile(formPath);
    try {
      (void)kx::ReadTextForm(formText);  // only forms the player can read go in
    } catch (const kx::TTextFormError& e) {
      throw std::runtime_error(formPath + " " + e.what());
    }
    AddSection(text, kx::SplitLines(formText));
    AddSection(text, colon == std::string::npos ? std::vector<std::string>{} : BindingLines(input.substr(colon + 1)));
    AddSection(text, {"Dummy"});
  }
  WriteWholeFile(out, text);
  return 0;
}

int KxuSplit(const Args& args) {
  if (args.size() != 3 || args[1] != "-o") throw std::runtime_error("usage: kxtool kxu-split FILE.kxu -o DIR");
  kx::TKXForms forms;
  forms.LoadDefinitions(args[0]);
  std::string dir = args[2];
  if (dir.empty() || dir.back() != '/') dir += '/';
  kx::CreateFolder(dir);
  for (size_t i = 0; i < forms.Forms.size(); ++i) {
    const kx::TKXForm& form = forms.Forms[i];
    char number[32];
    std::snprintf(number, sizeof number, "%02zu-", i + 1);
    const std::string base = dir + number + FileNamePart(form.WindowName);
    std::string lines;
    for (const std::string& l : form.DefinitionLines) lines += l + "\n";
    WriteWholeFile(base + ".form", lines);
    if (form.Bindings.Items.empty()) continue;
    kx::TIniFile ini;
    for (const auto& [component, a] : form.Bindings.Items) {
      if (ini.SectionExists(component)) continue;  // only the first binding of a name ever runs
      ini.WriteInteger(component, "Action", a.ActionType);
      ini.WriteString(component, "Param1", a.Param1);
      ini.WriteString(component, "Param2", a.Param2);
      ini.WriteString(component, "Param3", a.Param3);
    }
    WriteWholeFile(base + ".bindings.ini", ini.ToText());
  }
  return 0;
}

const TCommandGroup kFormsCommands{{
    {"form", Form, "form FILE --json                  print a text form's tree as JSON"},
    {"windows", Windows, "windows FILE.scr|FILE.kxu         list the window definitions and their bindings"},
    {"prepared", Prepared, "prepared FILE.scr|FILE.kxu NAME   print a window's text form as it is built"},
    {"kxu-make", KxuMake, "kxu-make FORM[:BINDINGS] ... -o OUT.kxu   make window definitions from forms and INI bindings"},
    {"kxu-split", KxuSplit, "kxu-split FILE.kxu -o DIR         write each definition as a form and a bindings INI"},
}};

}  // namespace kxtool
