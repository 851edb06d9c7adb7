// The run's work folder: temporary path + base + work number + "/", where the
// base is the program's file name up to its first "." and the work number is
// the tick count at start modulo 10000. The folder is created private (0700)
// and only ever by this run: when the name is taken (another run, a planted
// link) a fresh unpredictable name is used instead.
#pragma once

#include <cstdint>
#include <string>

namespace kx {

// The start tick taken as a signed 32-bit integer, remainder of its division by
// 10000 truncated toward zero: -9999 to 9999.
int32_t WorkNumber(uint32_t tick);

// The program's file name up to but not including its first ".".
std::string WorkFolderBase(const std::string& programPath);

class TWorkFolder {
 public:
  TWorkFolder(std::string tempPath, std::string base, int32_t number);

  // The folder's path, ending in "/". Creates the folder when this run has none;
  // a failure to create it is not reported (the files then fail to appear).
  const std::string& Get();

  // The name the folder has when it is free: temporary path + base + number + "/".
  const std::string& PreferredPath() const { return m_preferred; }

 private:
  std::string m_preferred;
  std::string m_path;
};

// The process-wide work folder, named after the program's path and start tick.
void InitWorkFolder(const std::string& programPath, uint32_t startTick);
std::string GetWorkFolder();

}  // namespace kx
