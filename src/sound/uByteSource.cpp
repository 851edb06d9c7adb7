#include "sound/uByteSource.h"

#include <algorithm>
#include <cstring>

#include "devices/uSound.h"

namespace kx {

size_t TMemorySource::Read(uint64_t offset, void* buffer, size_t n) {
  if (offset >= m_bytes.size()) return 0;
  const size_t count = size_t(std::min<uint64_t>(n, m_bytes.size() - offset));
  std::memcpy(buffer, m_bytes.data() + offset, count);
  return count;
}

// A named pipe or device in a sound's place cannot stall the show: the file
// is opened without blocking and must be a regular file.
TFileSource::TFileSource(const std::string& path) : m_file(OpenRegularFile(path)) {
  const int64_t size = m_file ? OpenFileSize(m_file.get()) : -1;
  if (size < 0) throw TSoundError("cannot read " + path);
  m_size = uint64_t(size);
}

size_t TFileSource::Read(uint64_t offset, void* buffer, size_t n) {
  if (offset >= m_size || ::fseeko(m_file.get(), off_t(offset), SEEK_SET) != 0) return 0;
  return std::fread(buffer, 1, n, m_file.get());
}

}  // namespace kx
