// Helpers for tests that work on files: a private scratch folder per test.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "os/uErrorSink.h"
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

// The bytes the files of a folder and its subfolders hold (links not followed).
uint64_t FolderBytes(const std::string& path);

// Creates a folder (its parent must exist; an existing one is kept).
void MakeDir(const std::string& path);

// The path with every "/" turned into "\\", as Windows writes paths.
inline std::string Backslashed(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

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

// Makes base, followed by "Ardmont/Common/", the folder GetSharedFolder()
// gives for the object's lifetime: through $XDG_DATA_HOME on Linux, through
// the machine's "ProgramFilesDir" as this process sees it on Windows (the
// machine's own registry is left alone).
class TSharedFolderBase {
 public:
  explicit TSharedFolderBase(const std::string& base);
  ~TSharedFolderBase();
  TSharedFolderBase(const TSharedFolderBase&) = delete;
  TSharedFolderBase& operator=(const TSharedFolderBase&) = delete;

 private:
#ifdef _WIN32
  void* m_key = nullptr;
  std::wstring m_name;
#else
  TEnv m_env;
#endif
};

// Writes a bitmap as an uncompressed 24-bit bottom-up BMP file.
void WriteBmp(const std::string& path, const kx::TBitmap32& bitmap);

// An error sink that keeps every report as "<where>: <what>".
class TErrorLog final : public kx::IErrorSink {
 public:
  void Report(const std::string& where, const std::string& what) noexcept override {
    Lines.push_back(where + ": " + what);
  }
  std::vector<std::string> Lines;
};

}  // namespace kxtest
