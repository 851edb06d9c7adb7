// Helpers for tests that work on files: a private scratch folder per test.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "raster/uBitmap.h"

namespace kxtest {

// A fresh folder (path ending in "/") removed with everything in it on destruction.
class TScratchDir {
 public:
  TScratchDir();
  ~TScratchDir();
  TScratchDir(const TScratchDir&) = delete;
  TScratchDir& operator=(const TScratchDir&) = delete;

  const std::string& Path() const { return m_path; }
  std::string operator/(std::string_view name) const { return m_path + std::string(name); }

 private:
  std::string m_path;
};

void WriteFile(const std::string& path, std::string_view bytes);
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
// The names in a folder, sorted, without "." and "..".
std::vector<std::string> ListDir(const std::string& path);

// Writes a bitmap as an uncompressed 24-bit bottom-up BMP file.
void WriteBmp(const std::string& path, const kx::TBitmap32& bitmap);

}  // namespace kxtest
