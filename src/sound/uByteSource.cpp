#include "sound/uByteSource.h"

#include <algorithm>
#include <cstring>

#include "devices/uSound.h"
#include "os/uPackedFiles.h"

namespace kx {

size_t TMemorySource::Read(uint64_t offset, void* buffer, size_t n) {
  if (offset >= m_bytes.size()) return 0;
  const size_t count = size_t(std::min<uint64_t>(n, m_bytes.size() - offset));
  std::memcpy(buffer, m_bytes.data() + offset, count);
  return count;
}

// A named pipe or device in a sound's place cannot stall the show: the file
// is opened without blocking and must be a regular file.
// A packed sound is read in place, from its range of the program file.
TFileSource::TFileSource(const std::string& path) {
  TFileWindow window = OpenFileWindow(path);
  if (!window.File) throw TSoundError("cannot read " + path);
  m_file = std::move(window.File);
  m_start = uint64_t(window.Start);
  m_size = uint64_t(window.Size);
}

size_t TFileSource::Read(uint64_t offset, void* buffer, size_t n) {
  if (offset >= m_size || ::fseeko(m_file.get(), off_t(m_start + offset), SEEK_SET) != 0) return 0;
  return std::fread(buffer, 1, size_t(std::min<uint64_t>(n, m_size - offset)), m_file.get());
}

}  // namespace kx
