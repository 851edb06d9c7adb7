// Bounded random access to the bytes of a file or of memory, for the readers
// of sound and music headers: they read what they need where they need it,
// never the whole of a large file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "os/uFileAccess.h"

namespace kx {

class IByteSource {
 public:
  virtual ~IByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Copies up to n bytes from offset into buffer; the count copied (fewer at
  // the end, 0 past it).
  virtual size_t Read(uint64_t offset, void* buffer, size_t n) = 0;

  // Exactly n bytes from offset, or false.
  bool ReadExact(uint64_t offset, void* buffer, size_t n) { return Read(offset, buffer, n) == n; }
};

class TMemorySource final : public IByteSource {
 public:
  explicit TMemorySource(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
  uint64_t Size() const override { return m_bytes.size(); }
  size_t Read(uint64_t offset, void* buffer, size_t n) override;

 private:
  std::span<const uint8_t> m_bytes;
};

// A regular file, or a packed one (os/uPackedFiles.h), opened for reading; throws TSoundError when it cannot be.
class TFileSource final : public IByteSource {
 public:
  explicit TFileSource(const std::string& path);
  uint64_t Size() const override { return m_size; }
  size_t Read(uint64_t offset, void* buffer, size_t n) override;

 private:
  TFilePtr m_file{nullptr, std::fclose};
  uint64_t m_start = 0, m_size = 0;  // the file's window
};

// Little- and big-endian fields of a byte buffer.
inline uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t Le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
inline uint64_t Le64(const uint8_t* p) { return uint64_t(Le32(p)) | uint64_t(Le32(p + 4)) << 32; }
inline uint32_t Be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]); }

}  // namespace kx
