// The run's work folder: temporary path + base + work number + "/", where the
// base is the program's file name up to its first "." and the work number is
// the tick count at start modulo 10000. The folder is created private (0700)
// and only ever by this run: when the name is taken (another run, a planted
// link) a fresh unpredictable name is used instead, and when no folder can be
// created the run stops with a message rather than use one it did not make.
//
// While the run lasts the folder holds a lock file that the run keeps locked;
// a folder whose lock is free belongs to a run that ended without cleaning up
// (killed, or a power cut), and the next run of the same program removes it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kx {

// The start tick taken as a signed 32-bit integer, remainder of its division by
// 10000 truncated toward zero: -9999 to 9999.
int32_t WorkNumber(uint32_t tick);

// The program's file name up to but not including its first ".".
std::string WorkFolderBase(const std::string& programPath);

// "Cannot create the work folder <path>: <reason>".
class TWorkFolderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TWorkFolder {
 public:
  TWorkFolder(std::string tempPath, std::string base, int32_t number);
  ~TWorkFolder();
  TWorkFolder(const TWorkFolder&) = delete;
  TWorkFolder& operator=(const TWorkFolder&) = delete;

  // The folder's path, ending in "/". Creates the folder, opens it and locks
  // its lock file when this run has none; throws TWorkFolderError when that
  // cannot be done.
  const std::string& Get();
  // The open folder, for creating and removing files by name inside it
  // (creating it first like Get).
  int Descriptor();
  bool Created() const { return m_fd >= 0; }

  // Deletes what the package extraction wrote, the lock file and the folder.
  // Nothing when the folder was never created. A later Get creates a new one.
  void Remove();
  // Deletes every file of the folder and the folder, without reading the
  // package's lists: for a run that must end at once (on a signal).
  void RemoveEverything();

  // The name the folder has when it is free: temporary path + base + number + "/".
  const std::string& PreferredPath() const { return m_preferred; }

 private:
  void Create();

  std::string m_temp, m_base;
  std::string m_preferred;
  std::string m_path;
  int m_fd = -1;    // the folder
  int m_lock = -1;  // its lock file, locked
};

// Removes the work folders left behind by earlier runs of the program named
// base in the temporary folder: folders of this user whose name is base +
// work number (optionally + "_" and six characters) and whose lock file is
// there but not locked, or that have no lock file and have not changed for
// more than a minute before now (seconds since 1970, as file times count).
// A folder holding a locked lock file, a fresh folder without one, and
// everything that is not such a folder, are left alone. Returns how many
// were removed.
int RemoveStaleWorkFolders(const std::string& tempPath, const std::string& base, int64_t now);
// The same at the present time.
int RemoveStaleWorkFolders(const std::string& tempPath, const std::string& base);

// The process-wide work folder, named after the program's path and start tick.
// InitWorkFolder also removes the program's stale work folders. Once a stop
// signal is taken, GetWorkFolder and GetWorkFolderDescriptor wait for the
// program's end instead of returning.
void InitWorkFolder(const std::string& programPath, uint32_t startTick);
std::string GetWorkFolder();
int GetWorkFolderDescriptor();
// Removes the process-wide work folder (what Remove does); nothing when it
// was never created. The package's files read in place there
// (UsePackageInPlace) are forgotten too.
void RemoveWorkFolder();
// For a signal's clean-up: RemoveEverything on the process-wide folder. Safe
// to call from another thread while the main thread works in the folder.
void RemoveWorkFolderAtOnce();

}  // namespace kx
