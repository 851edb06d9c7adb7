// The package container: a marker, a count, then that many entries, each a
// 32-bit little-endian size followed by its bytes. Entries are known only by
// their position; whatever follows the last entry is ignored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "os/uFolderAccess.h"

namespace kx {

// The marker's text; a container stores it with every byte increased by one, so
// the player's own copy of the plain text never matches.
inline constexpr std::string_view kContainerMarker = "{KXRESROURCE}";

// Matches the stored marker one byte at a time. A byte that breaks a partial
// match sets the match back to the start and is not compared again with the
// first character; the state carries across reads.
class TMarkerMatcher {
 public:
  // True when this byte completes the marker.
  bool Feed(uint8_t byte) {
    if (uint8_t(byte - 1) == uint8_t(kContainerMarker[m_matched])) {
      if (++m_matched == kContainerMarker.size()) {
        m_matched = 0;
        return true;
      }
    } else {
      m_matched = 0;
    }
    return false;
  }
  // True when no part of the marker is matched: only a byte that starts the
  // marker can change that.
  bool Idle() const { return m_matched == 0; }
  static constexpr uint8_t kFirstByte = uint8_t(kContainerMarker[0] + 1);

 private:
  size_t m_matched = 0;
};

struct TContainerLocation {
  bool found = false;
  int64_t offset = 0;  // just past the marker, where the count is stored
  int32_t count = 0;   // 0 when the file ends inside the count
};

// Finds the first marker of a file; the file is read from its start.
TContainerLocation FindContainer(const std::string& file);
TContainerLocation FindContainer(std::FILE* f);
// The same within bytes [begin, end) of an open file, as if they were a file
// of their own: the offset counts from begin.
TContainerLocation FindContainer(std::FILE* f, int64_t begin, int64_t end);

// Where entry index of a file's first container lies: [Begin, End) in the
// file, cut where the file ends. nullopt when the container has no such entry
// or an earlier entry's size is negative (which ends an extraction).
struct TEntryRange {
  int64_t Begin = 0, End = 0;
};
std::optional<TEntryRange> FindEntry(std::FILE* f, int32_t index);

// Where the entries of the first container within bytes [begin, end) of an
// open file lie, for i below both the stored count and maxEntries: the bytes
// ExtractContainer would write for each, read in place instead. An entry is
// cut where the window or the file ends, the entries after an early end are
// empty, and a negative size ends the list.
std::vector<TEntryRange> ContainerEntries(std::FILE* f, int64_t begin, int64_t end, size_t maxEntries);

// Writes entry i of the file's first container to names[i], for i below both
// the stored count and names.size(); names are relative to the open folder
// (paths as they are with kCurrentFolder). An empty name skips its entry. An output
// that cannot be created is skipped by its stored size; a negative size ends
// the extraction; a container that ends early leaves the entry being copied
// short and the later ones empty.
void ExtractContainer(const std::string& file, const std::vector<std::string>& names, int folder = kCurrentFolder);
void ExtractContainer(std::FILE* f, const std::vector<std::string>& names, int folder = kCurrentFolder);
// The same for the container within bytes [begin, end) of an open file: a
// container nested in an entry is read in place, exactly as if the entry had
// been written to a file of its own first.
void ExtractContainer(std::FILE* f, int64_t begin, int64_t end, const std::vector<std::string>& names,
                      int folder = kCurrentFolder);

// Reads up to maxEntries entries of the first container into memory, each
// entry cut at maxBytes. An empty result for a file without a container. A
// packed file (os/uPackedFiles.h) is read within its range.
struct TContainerContents {
  TContainerLocation location;
  std::vector<std::string> entries;
};
TContainerContents ReadContainer(const std::string& file, size_t maxEntries, size_t maxBytes);

// Writing, for the authoring tool and for tests. Each throws std::runtime_error
// when the output cannot be written or an entry exceeds 2^31 - 1 bytes.
inline constexpr int64_t kContainerHeaderSize = int64_t(kContainerMarker.size()) + 4;
void WriteContainerHeader(std::FILE* out, int32_t count);
// The size field of an entry whose bytes the caller writes next.
void WriteContainerEntrySize(std::FILE* out, int64_t size);
void WriteContainerEntry(std::FILE* out, std::string_view data);
// Streams a file as one entry; throws when it cannot be read or is too large.
// With size, also when the file no longer has that size (it changed since
// the caller counted it into a size written before).
void WriteContainerFileEntry(std::FILE* out, const std::string& path, std::optional<int64_t> size = std::nullopt);
std::string MakeContainer(const std::vector<std::string>& entries);

}  // namespace kx
