#include "package/uContainer.h"

#include "os/uFileAccess.h"
#include "os/uFolderAccess.h"
#include "os/uPackedFiles.h"
#include "os/uStopSignals.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>

namespace kx {
namespace {

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

constexpr size_t kChunk = 65536;

FilePtr OpenRead(const std::string& path) { return OpenRegularFile(path); }

// Reads a little-endian 32-bit integer; false when the file (or the window,
// which ends at end) ends first.
bool ReadInt32(std::FILE* f, int32_t& value, int64_t end = INT64_MAX) {
  uint8_t b[4];
  const off_t pos = ftello(f);
  if (pos < 0 || end - int64_t(pos) < 4 || std::fread(b, 1, 4, f) != 4) return false;
  value = int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
  return true;
}

void PutInt32(std::string& out, int32_t value) {
  const auto v = uint32_t(value);
  const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
  out.append(b, 4);
}

std::string Header(int32_t count) {
  std::string header;
  for (char c : kContainerMarker) header += char(c + 1);
  PutInt32(header, count);
  return header;
}

void Put(std::FILE* out, std::string_view bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size())
    throw std::runtime_error("cannot write the container");
}

// Bytes from the current position to the end of the file.
int64_t Remaining(std::FILE* f) {
  const off_t pos = ftello(f);
  const int64_t size = OpenFileSize(f);
  if (pos < 0 || size < 0) return 0;
  return std::max<int64_t>(0, size - int64_t(pos));
}

// Moves forward by n bytes; seeking past the end is harmless, later reads find nothing.
void Skip(std::FILE* f, int64_t n) {
  if (n > 0) fseeko(f, off_t(n), SEEK_CUR);
}

// Positions f just past the stored count of the first container in the
// window; the number of entries to read, or -1 when there is no container.
int64_t OpenEntries(std::FILE* f, size_t limit, int64_t begin = 0, int64_t end = INT64_MAX) {
  const TContainerLocation loc = FindContainer(f, begin, end);
  if (!loc.found || fseeko(f, off_t(begin + loc.offset) + 4, SEEK_SET) != 0) return -1;
  if (loc.count <= 0) return 0;
  return int64_t(std::min<uint64_t>(uint64_t(loc.count), limit));
}

// Creates (or replaces) an output file in the folder without following a
// symbolic link in its place. Once the program is stopping no file is added:
// the clean-up is emptying the folder meanwhile.
int CreateOutput(int folder, const std::string& name) {
  if (name.empty()) return -1;
  HaltOnStopSignal();
  return CreateFileIn(folder, name);
}

}  // namespace

TContainerLocation FindContainer(std::FILE* f, int64_t begin, int64_t end) {
  TContainerLocation loc;
  if (!f || begin < 0 || end < begin || fseeko(f, off_t(begin), SEEK_SET) != 0) return loc;
  TMarkerMatcher matcher;
  int64_t consumed = 0;
  uint8_t buf[kChunk];
  for (;;) {
    const size_t want = size_t(std::min<int64_t>(int64_t(sizeof buf), end - begin - consumed));
    const size_t got = want ? std::fread(buf, 1, want, f) : 0;
    if (got == 0) return loc;
    for (size_t i = 0; i < got; ++i) {
      if (matcher.Idle()) {
        // Most of a program file is not the marker: skip to the next byte that can start it.
        const void* next = std::memchr(buf + i, TMarkerMatcher::kFirstByte, got - i);
        if (!next) break;
        i = size_t(static_cast<const uint8_t*>(next) - buf);
      }
      if (!matcher.Feed(buf[i])) continue;
      loc.found = true;
      loc.offset = consumed + int64_t(i) + 1;
      if (fseeko(f, off_t(begin + loc.offset), SEEK_SET) != 0 || !ReadInt32(f, loc.count, end)) loc.count = 0;
      return loc;
    }
    consumed += int64_t(got);
  }
}

TContainerLocation FindContainer(std::FILE* f) { return FindContainer(f, 0, INT64_MAX); }

std::optional<TEntryRange> FindEntry(std::FILE* f, int32_t index) {
  const int64_t n = OpenEntries(f, size_t(index) + 1);
  for (int64_t i = 0; i < n; ++i) {
    int32_t size = 0;
    if (!ReadInt32(f, size)) size = 0;  // the container ended: the entry is empty
    if (size < 0) return std::nullopt;   // extraction ends here
    const off_t at = ftello(f);
    if (at < 0) return std::nullopt;
    if (i == index) return TEntryRange{int64_t(at), int64_t(at) + std::min<int64_t>(size, Remaining(f))};
    Skip(f, size);
  }
  return std::nullopt;
}

std::vector<TEntryRange> ContainerEntries(std::FILE* f, int64_t begin, int64_t end, size_t maxEntries) {
  std::vector<TEntryRange> ranges;
  const int64_t n = OpenEntries(f, maxEntries, begin, end);
  const int64_t size = OpenFileSize(f);
  const int64_t last = size < 0 ? end : std::min(end, size);
  for (int64_t i = 0; i < n; ++i) {
    int32_t length = 0;
    if (!ReadInt32(f, length, end)) length = 0;  // the container ended: the entry is empty
    if (length < 0) break;
    const off_t at = ftello(f);
    if (at < 0) break;
    const int64_t from = std::min<int64_t>(int64_t(at), last);
    ranges.push_back({from, from + std::min<int64_t>(length, last - from)});
    Skip(f, length);
  }
  return ranges;
}

TContainerLocation FindContainer(const std::string& file) {
  FilePtr f = OpenRead(file);
  return FindContainer(f.get());
}

void ExtractContainer(std::FILE* f, const std::vector<std::string>& names, int folder) {
  ExtractContainer(f, 0, INT64_MAX, names, folder);
}

void ExtractContainer(std::FILE* f, int64_t begin, int64_t end, const std::vector<std::string>& names, int folder) {
  const int64_t n = OpenEntries(f, names.size(), begin, end);
  for (int64_t i = 0; i < n; ++i) {
    int32_t size = 0;
    if (!ReadInt32(f, size, end)) size = 0;  // the container ended: the entry comes out empty
    if (size < 0) return;
    const int fd = CreateOutput(folder, names[size_t(i)]);
    if (fd < 0) {
      Skip(f, size);
      continue;
    }
    char buf[kChunk];
    const off_t at = ftello(f);
    int64_t missing = at < 0 ? 0 : std::min<int64_t>(size, end - int64_t(at));
    while (missing > 0) {
      const size_t got = std::fread(buf, 1, size_t(std::min<int64_t>(missing, kChunk)), f);
      if (got == 0) break;
      WriteAll(fd, buf, got);  // a write failure loses this entry's bytes only
      missing -= int64_t(got);
    }
    CloseFile(fd);
  }
}

void ExtractContainer(const std::string& file, const std::vector<std::string>& names, int folder) {
  FilePtr f = OpenRead(file);
  if (f) ExtractContainer(f.get(), names, folder);
}

TContainerContents ReadContainer(const std::string& file, size_t maxEntries, size_t maxBytes) {
  TContainerContents contents;
  const TFileWindow window = OpenFileWindow(file);
  std::FILE* f = window.File.get();
  if (!f) return contents;
  const int64_t end = window.Start + window.Size;
  contents.location = FindContainer(f, window.Start, end);
  const int64_t n = OpenEntries(f, maxEntries, window.Start, end);
  for (int64_t i = 0; i < n; ++i) {
    int32_t size = 0;
    if (!ReadInt32(f, size, end)) size = 0;
    if (size < 0) break;
    std::string& entry = contents.entries.emplace_back();
    const off_t at = ftello(f);
    const int64_t left = at < 0 ? 0 : std::max<int64_t>(0, end - int64_t(at));
    const size_t keep = size_t(std::min<int64_t>({int64_t(size), int64_t(maxBytes), left}));
    entry.resize(keep);
    entry.resize(std::fread(entry.data(), 1, keep, f));
    Skip(f, int64_t(size) - int64_t(keep));
  }
  return contents;
}

void WriteContainerHeader(std::FILE* out, int32_t count) { Put(out, Header(count)); }

void WriteContainerEntrySize(std::FILE* out, int64_t size) {
  if (size < 0 || size > INT32_MAX) throw std::runtime_error("container entry too large");
  std::string field;
  PutInt32(field, int32_t(size));
  Put(out, field);
}

void WriteContainerEntry(std::FILE* out, std::string_view data) {
  WriteContainerEntrySize(out, int64_t(data.size()));
  Put(out, data);
}

void WriteContainerFileEntry(std::FILE* out, const std::string& path, std::optional<int64_t> expected) {
  FilePtr in = OpenRead(path);
  const int64_t size = in ? OpenFileSize(in.get()) : -1;
  if (size < 0) throw std::runtime_error("cannot read " + path);
  if (expected && size != *expected) throw std::runtime_error(path + " changed while it was packed");
  if (size > INT32_MAX) throw std::runtime_error("file too large to pack: " + path);
  WriteContainerEntrySize(out, size);
  char buf[kChunk];
  int64_t missing = size;
  while (missing > 0) {
    const size_t got = std::fread(buf, 1, size_t(std::min<int64_t>(missing, kChunk)), in.get());
    if (got == 0) throw std::runtime_error("cannot read " + path);
    Put(out, std::string_view(buf, got));
    missing -= int64_t(got);
  }
}

std::string MakeContainer(const std::vector<std::string>& entries) {
  std::string out = Header(int32_t(entries.size()));
  for (const std::string& e : entries) {
    PutInt32(out, int32_t(e.size()));
    out += e;
  }
  return out;
}

}  // namespace kx
