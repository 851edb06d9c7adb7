#include "package/uPackageWriter.h"

#include <climits>
#include <cstdio>
#include <string>
#include <stdexcept>

#include "os/uFileAccess.h"
#include "package/uContainer.h"

namespace kx {
namespace {

int64_t FileSize(const std::string& path) {
  const TFilePtr f = OpenRegularFile(path);
  const int64_t size = f ? OpenFileSize(f.get()) : -1;
  if (size < 0) throw std::runtime_error("missing file: " + path);
  return size;
}

int64_t EntrySize(const TPackageFile& file) { return file.Bytes ? int64_t(file.Bytes->size()) : FileSize(file.Path); }

void WriteEntry(std::FILE* out, const TPackageFile& file, int64_t size) {
  if (file.Bytes) WriteContainerEntry(out, *file.Bytes);
  else if (!file.Path.empty()) WriteContainerFileEntry(out, file.Path, size);
  else WriteContainerEntry(out, "");
}

void Copy(std::FILE* in, std::FILE* out, const std::string& outName) {
  char buf[65536];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, in)) > 0;)
    if (std::fwrite(buf, 1, n, out) != n) throw std::runtime_error("cannot write " + outName);
}

}  // namespace

void WritePackage(const std::string& player, const TPackageContents& contents, const std::string& out) {
  // Every size is known before the first byte: the entry holding the files
  // stores their total up front.
  std::vector<int64_t> sizes;
  std::string list;
  int64_t filesSize = kContainerHeaderSize;
  for (const TPackageFile& f : contents.Files) {
    sizes.push_back(EntrySize(f));
    list += f.Name + "\r\n";
    filesSize += 4 + sizes.back();
  }
  // The entry's size is a signed 32-bit number.
  if (filesSize > INT32_MAX)
    throw std::runtime_error("the files come to " + std::to_string(filesSize >> 20) +
                             " MB, more than a screensaver holds (2047 MB)");
  const bool windowsFromFile = !contents.Windows.Bytes && !contents.Windows.Path.empty();
  const int64_t windowsSize = windowsFromFile ? FileSize(contents.Windows.Path) : 0;

  if (FindContainer(player).found) throw std::runtime_error(player + " already carries a package");
  const TFilePtr in = OpenRegularFile(player);
  if (!in) throw std::runtime_error("cannot read the player " + player);

  std::string temp;
  TFilePtr o = CreateFileBeside(out, temp);
  if (!o) throw std::runtime_error("cannot create " + out);
  try {
    Copy(in.get(), o.get(), out);
    WriteContainerHeader(o.get(), 4);
    WriteContainerEntry(o.get(), contents.Description);
    WriteContainerEntry(o.get(), list);
    WriteContainerEntrySize(o.get(), filesSize);
    WriteContainerHeader(o.get(), int32_t(contents.Files.size()));
    for (size_t i = 0; i < contents.Files.size(); ++i) WriteEntry(o.get(), contents.Files[i], sizes[i]);
    WriteEntry(o.get(), contents.Windows, windowsSize);
    // Closed before the move: Windows renames no open file.
    if (std::fclose(o.release()) != 0) throw std::runtime_error("cannot write " + out);
  } catch (const std::runtime_error&) {
    // The output's own failures (a full disk) are told by its name.
    const bool unwritable = o && std::ferror(o.get());
    o.reset();
    RemoveFile(temp);
    if (unwritable) throw std::runtime_error("cannot write " + out);
    throw;
  } catch (...) {
    o.reset();
    RemoveFile(temp);
    throw;
  }
  MarkRunnable(temp);
  if (!MoveFileOver(temp, out)) {
    RemoveFile(temp);
    throw std::runtime_error("cannot create " + out);
  }
}

}  // namespace kx
