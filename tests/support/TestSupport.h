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

// Creates a folder (its parent must exist; an existing one is kept).
void MakeDir(const std::string& path);

// Sets an environment variable for the object's lifetime ("" unsets it).
class TEnv {
 public:
  TEnv(const char* name, const std::string& value);
  ~TEnv();
  TEnv(const TEnv&) = delete;
  TEnv& operator=(const TEnv&) = delete;

 private:
  const char* m_name;
  std::string m_old;
  bool m_had = false;
};

// The variable whose folder, followed by "Ardmont/Common/", is the first
// place GetSharedFolder() looks on this system.
extern const char* const kSharedFolderVariable;

// Writes a bitmap as an uncompressed 24-bit bottom-up BMP file.
void WriteBmp(const std::string& path, const kx::TBitmap32& bitmap);

}  // namespace kxtest
