#include "os/uPackedFiles.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <utility>

#include "os/uUserFiles.h"

namespace kx {
namespace {

struct TPackedEntry {
  std::string Key;  // SystemFileNameKey of the name
  int64_t Offset = 0, Length = 0;
};

struct TPackedFolder {
  std::string Folder, Source;
  std::vector<TPackedEntry> Entries;  // sorted by key, one per key
};

// Replaced whole and read by the show's threads (the prefetch thread among
// them): a reader keeps the folder it found alive while it uses it.
std::mutex& Lock() {
  static std::mutex lock;
  return lock;
}

std::shared_ptr<const TPackedFolder>& Current() {
  static std::shared_ptr<const TPackedFolder> folder;
  return folder;
}

std::shared_ptr<const TPackedFolder> Snapshot() {
  std::lock_guard lock(Lock());
  return Current();
}

}  // namespace

void SetPackedFiles(const std::string& folder, const std::string& source, const std::vector<TPackedFile>& files) {
  auto packed = std::make_shared<TPackedFolder>();
  packed->Folder = folder;
  packed->Source = source;
  for (const TPackedFile& f : files) {
    if (f.Name.empty() || f.Offset < 0 || f.Length < 0) continue;
    packed->Entries.push_back({SystemFileNameKey(f.Name), f.Offset, f.Length});
  }
  // Stable, and the last of equal keys kept: a later entry replaces an earlier one.
  auto& e = packed->Entries;
  std::stable_sort(e.begin(), e.end(), [](const TPackedEntry& a, const TPackedEntry& b) { return a.Key < b.Key; });
  std::vector<TPackedEntry> unique;
  for (size_t i = 0; i < e.size(); ++i)
    if (i + 1 == e.size() || e[i + 1].Key != e[i].Key) unique.push_back(std::move(e[i]));
  e = std::move(unique);
  std::lock_guard lock(Lock());
  Current() = std::move(packed);
}

void ClearPackedFiles() {
  std::lock_guard lock(Lock());
  Current().reset();
}

std::optional<TFileRange> FindPackedFile(const std::string& path) {
  const std::shared_ptr<const TPackedFolder> packed = Snapshot();
  if (!packed || packed->Folder.empty() || path.size() <= packed->Folder.size() ||
      path.compare(0, packed->Folder.size(), packed->Folder) != 0)
    return std::nullopt;
  const std::string name = path.substr(packed->Folder.size());
  // Only a file of the folder itself: a path going on into a subfolder (or
  // up out of it) names nothing packed.
  if (name.find_first_of(PathSeparators()) != std::string::npos || name == "." || name == "..") return std::nullopt;
  const std::string key = SystemFileNameKey(name);
  const auto it = std::lower_bound(packed->Entries.begin(), packed->Entries.end(), key,
                                   [](const TPackedEntry& e, const std::string& k) { return e.Key < k; });
  if (it == packed->Entries.end() || it->Key != key) return std::nullopt;
  return TFileRange{packed->Source, it->Offset, it->Length};
}

bool FileExists(const std::string& path) { return FindPackedFile(path) || IsRegularFile(path); }

TFileWindow OpenFileWindow(const std::string& path) {
  TFileWindow w;
  const std::optional<TFileRange> range = FindPackedFile(path);
  w.File = OpenRegularFile(range ? range->Source : path);
  if (!w.File) return w;
  const int64_t size = OpenFileSize(w.File.get());
  if (size < 0) {
    w.File.reset();
    return w;
  }
  if (!range) {
    w.Size = size;
    return w;
  }
  // A source cut short (the program replaced meanwhile) gives what is left.
  w.Start = std::min(range->Offset, size);
  w.Size = std::min(range->Length, size - w.Start);
  if (fseeko(w.File.get(), off_t(w.Start), SEEK_SET) != 0) {
    w.File.reset();
    w.Size = -1;
  }
  return w;
}

std::optional<std::string> ReadFileWindow(const std::string& path, size_t maxBytes, bool* tooLarge) {
  if (tooLarge) *tooLarge = false;
  const TFileWindow w = OpenFileWindow(path);
  if (!w.File) return std::nullopt;
  if (uint64_t(w.Size) > maxBytes) {
    if (tooLarge) *tooLarge = true;
    return std::nullopt;
  }
  std::string bytes(size_t(w.Size), '\0');
  if (std::fread(bytes.data(), 1, bytes.size(), w.File.get()) != bytes.size()) return std::nullopt;
  return bytes;
}

}  // namespace kx
