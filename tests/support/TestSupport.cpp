#include "support/TestSupport.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace kxtest {

TScratchDir::TScratchDir() {
  std::string pattern = std::filesystem::temp_directory_path().string() + "/kxtest_XXXXXX";
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  if (!mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
  m_path = std::string(buf.data()) + "/";
}

TScratchDir::~TScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> ListDir(const std::string& path) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(path, ec)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void WriteBmp(const std::string& path, const kx::TBitmap32& bitmap) {
  const uint32_t stride = (uint32_t(bitmap.Width()) * 3 + 3) & ~3u;
  const uint32_t size = 54 + stride * uint32_t(bitmap.Height());
  std::string bytes(54, '\0');
  auto put = [&](size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) bytes[at + size_t(i)] = char(v >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put(2, size, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, uint32_t(bitmap.Width()), 4);
  put(22, uint32_t(bitmap.Height()), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  for (int32_t y = bitmap.Height() - 1; y >= 0; --y) {
    std::string row(stride, '\0');
    for (int32_t x = 0; x < bitmap.Width(); ++x) {
      const kx::TPixel p = bitmap.Pixel(x, y);
      row[size_t(x) * 3] = char(kx::PixelB(p));
      row[size_t(x) * 3 + 1] = char(kx::PixelG(p));
      row[size_t(x) * 3 + 2] = char(kx::PixelR(p));
    }
    bytes += row;
  }
  WriteFile(path, bytes);
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace kxtest
