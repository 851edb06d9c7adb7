// For fuzz targets whose parser reads a file: a private scratch folder made
// once per process, and the input written to a file in it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace kxfuzz {

// The scratch folder, with a trailing "/".
inline const std::string& ScratchFolder() {
  static const std::string dir = [] {
    char pattern[] = "/tmp/kxfuzz_XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    return std::string(pattern) + "/";
  }();
  return dir;
}

// Writes the input to name in the scratch folder and returns its path.
inline std::string WriteInput(const std::string& name, const uint8_t* data, size_t size) {
  const std::string path = ScratchFolder() + name;
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  return path;
}

}  // namespace kxfuzz
