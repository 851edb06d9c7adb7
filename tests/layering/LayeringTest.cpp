// The layers of the source tree hold: no file includes a header of a layer
// above its own, the system backends are reached only from the layers that
// choose them, the file system is called only from the floor, and every
// CMake layer links only layers below it. The checks read the tree as it is
// (KX_SOURCE_ROOT), and each is also run on a small tree made here with the
// faults it must find, so a check that finds nothing is known to work.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

// The layers from the floor up; a layer may include its own headers and
// those of lower ranks. package and transitions share a rank and know
// nothing of each other. tools/ holds the executables' commands, on top.
const std::map<std::string, int> kRanks = {
    {"os", 0},    {"raster", 1}, {"devices", 2}, {"package", 3}, {"transitions", 3}, {"animation", 4},
    {"sound", 5}, {"saver", 6},  {"ui", 7},      {"config", 8},  {"startup", 9},     {"tools", 10},
};

// The system's backends: only the layers that pick one (os, devices,
// startup) and the tools reach into them.
const std::vector<std::string> kBackends = {"devices/x11/",      "devices/wayland/", "devices/gdi/", "devices/sdl/",
                                            "devices/headless/", "os/posix/",        "os/win32/"};
const std::vector<std::string> kBackendUsers = {"src/os/", "src/devices/", "src/startup/", "tools/"};

// Calls on the file system that belong in the floor alone.
const std::regex kFileSystemCall(
    R"(::(stat|lstat|fstat|open|mkdir|unlink|rmdir|rename|access|opendir|readlink|realpath)\s*\(|)"
    R"(std::(filesystem|rename|remove)\b|<filesystem>|\b_?w?fopen\s*\(|<sys/stat\.h>|<dirent\.h>)");

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The code without its comments and string contents, line by line (an
// include's path is kept: it is read before strings are blanked).
std::vector<std::string> CodeLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  bool block = false;
  for (size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : '\n';
    if (block) {
      if (c == '*' && i + 1 < text.size() && text[i + 1] == '/') block = false, ++i;
      else if (c == '\n') lines.push_back(line), line.clear();
      continue;
    }
    if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
      while (i < text.size() && text[i] != '\n') ++i;
      lines.push_back(line), line.clear();
      continue;
    }
    if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
      block = true, ++i;
      continue;
    }
    if (c == '\n') lines.push_back(line), line.clear();
    else line += c;
  }
  return lines;
}

std::optional<int> RankOf(const std::string& relative) {
  const std::string first = relative.substr(0, relative.find('/'));
  const auto it = kRanks.find(first);
  if (it == kRanks.end()) return std::nullopt;
  return it->second;
}

bool StartsWith(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

// The layer of a file of the tree: "src/<layer>/..." or "tools/...".
std::string LayerPath(const std::string& file) { return StartsWith(file, "src/") ? file.substr(4) : file; }

// Every fault of the tree under root, one line each: "file: what".
std::vector<std::string> LayeringFaults(const fs::path& root) {
  std::vector<std::string> faults;
  const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
  for (const char* top : {"src", "tools"}) {
    if (!fs::exists(root / top)) continue;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root / top)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
      const std::string file = fs::relative(entry.path(), root).generic_string();
      const std::optional<int> own = RankOf(LayerPath(file));
      const std::string text = ReadText(entry.path());
      std::istringstream raw(text);
      for (std::string line; std::getline(raw, line);) {
        std::smatch m;
        if (!std::regex_search(line, m, include)) continue;
        const std::string header = m[1];
        const std::optional<int> rank = RankOf(header);
        if (own && rank && *rank > *own) faults.push_back(file + ": includes " + header + " from a layer above");
        if (own && rank && *rank == *own && LayerPath(file).substr(0, LayerPath(file).find('/')) !=
                                                header.substr(0, header.find('/')))
          faults.push_back(file + ": includes " + header + " from a layer beside its own");
        const bool backend = std::any_of(kBackends.begin(), kBackends.end(),
                                         [&](const std::string& b) { return StartsWith(header, b); });
        const bool mayUse = std::any_of(kBackendUsers.begin(), kBackendUsers.end(),
                                        [&](const std::string& u) { return StartsWith(file, u); });
        if (backend && !mayUse) faults.push_back(file + ": includes the backend header " + header);
      }
      if (StartsWith(file, "src/os/")) continue;
      for (const std::string& code : CodeLines(text))
        if (std::regex_search(code, kFileSystemCall))
          faults.push_back(file + ": calls the file system directly: " + code);
    }
  }
  // kx_layer(<dir> ... DEPS a b c): every kx_<layer> named links a lower layer.
  const std::string cmake = ReadText(root / "CMakeLists.txt");
  const std::regex layer(R"(kx_layer\(\s*([a-z0-9_/]+)([^)]*)\))");
  for (auto it = std::sregex_iterator(cmake.begin(), cmake.end(), layer); it != std::sregex_iterator(); ++it) {
    const std::string dir = (*it)[1];
    const std::optional<int> own = RankOf(dir);
    std::istringstream words{std::string((*it)[2])};
    for (std::string word; words >> word;) {
      if (!StartsWith(word, "kx_")) continue;
      std::string dep = word.substr(3);
      std::replace(dep.begin(), dep.end(), '_', '/');
      const std::optional<int> rank = RankOf(dep);
      const std::string ownTop = dir.substr(0, dir.find('/')), depTop = dep.substr(0, dep.find('/'));
      if (own && rank && (*rank > *own || (*rank == *own && ownTop != depTop)))
        faults.push_back("CMakeLists.txt: kx_layer(" + dir + ") links " + word);
    }
  }
  return faults;
}

void Write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

TEST(Layering, TheSourceTreeHasNoFault) {
  const std::vector<std::string> faults = LayeringFaults(KX_SOURCE_ROOT);
  std::string all;
  for (const std::string& f : faults) all += f + "\n";
  EXPECT_TRUE(faults.empty()) << all;
}

TEST(Layering, FindsEveryKindOfFaultInAMadeTree) {
  const kxtest::TScratchDir dir;
  const fs::path root = dir.Path();
  Write(root / "src/raster/uUp.cpp", "#include \"raster/uBitmap.h\"\n#include \"saver/FKXScrSvr.h\"\n");
  Write(root / "src/package/uBeside.cpp", "#include \"transitions/PSEffect.h\"\n");
  Write(root / "src/saver/uBackend.cpp", "#include \"devices/x11/uX11Monitors.h\"\n#include \"os/posix/uX.h\"\n");
  Write(root / "src/sound/uFiles.cpp",
        "#include <filesystem>\n// std::filesystem in a comment is fine\nvoid F() { ::stat(p, &st); }\n"
        "const char* s = \"fine\"; /* fopen( */\nFILE* f = fopen(\"x\", \"r\");\n");
  // What is allowed: the floor's own calls, a lower layer, backends from
  // devices/, startup/ and tools/.
  Write(root / "src/os/posix/uOk.cpp", "#include <sys/stat.h>\nint F() { return ::mkdir(p, 0700); }\n");
  Write(root / "src/saver/uOk.cpp", "#include \"sound/uSoundEffect.h\"\n#include \"os/uFileAccess.h\"\n");
  Write(root / "src/startup/uOk.cpp", "#include \"devices/sdl/uSdlDisplay.h\"\n");
  Write(root / "tools/cmdOk.cpp", "#include \"devices/headless/uVirtualClock.h\"\n#include \"ui/uKXForms.h\"\n");
  Write(root / "CMakeLists.txt",
        "kx_layer(raster DEPS PkgConfig::PIXMAN kx_os)\nkx_layer(package DEPS kx_raster kx_saver)\n"
        "kx_layer(devices/sdl DEPS kx_devices kx_raster PkgConfig::SDL2)\n");

  std::vector<std::string> faults = LayeringFaults(root);
  std::sort(faults.begin(), faults.end());
  const std::vector<std::string> expected = {
      "CMakeLists.txt: kx_layer(package) links kx_saver",
      "src/package/uBeside.cpp: includes transitions/PSEffect.h from a layer beside its own",
      "src/raster/uUp.cpp: includes saver/FKXScrSvr.h from a layer above",
      "src/saver/uBackend.cpp: includes the backend header devices/x11/uX11Monitors.h",
      "src/saver/uBackend.cpp: includes the backend header os/posix/uX.h",
      "src/sound/uFiles.cpp: calls the file system directly: #include <filesystem>",
      "src/sound/uFiles.cpp: calls the file system directly: FILE* f = fopen(\"x\", \"r\");",
      "src/sound/uFiles.cpp: calls the file system directly: void F() { ::stat(p, &st); }",
  };
  EXPECT_EQ(faults, expected);
}
