// Large pictures in few bytes for budget tests: a 1-bit greyscale PNG of one
// colour compresses a picture of millions of pixels into a few kilobytes.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kxtest {

inline std::string FlatPng(uint32_t width, uint32_t height, bool white = false) {
  const auto be32 = [](std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s += char(v >> (24 - 8 * i));
  };
  const auto chunk = [&](std::string& out, const char* type, const std::string& data) {
    be32(out, uint32_t(data.size()));
    const std::string body = type + data;
    out += body;
    be32(out, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
  };
  std::string ihdr;
  be32(ihdr, width);
  be32(ihdr, height);
  ihdr += std::string("\x01\x00\x00\x00\x00", 5);  // 1 bit, greyscale, deflate, no filter, not interlaced
  std::string row(1 + (width + 7) / 8, white ? '\xFF' : '\0');
  row[0] = 0;  // filter type: none
  std::string raw;
  raw.reserve(row.size() * height);
  for (uint32_t y = 0; y < height; ++y) raw += row;
  uLongf size = compressBound(uLong(raw.size()));
  std::string idat(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(idat.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
                uLong(raw.size()), 9) != Z_OK)
    throw std::runtime_error("deflate failed");
  idat.resize(size);
  std::string png = "\x89PNG\r\n\x1A\n";
  chunk(png, "IHDR", ihdr);
  chunk(png, "IDAT", idat);
  chunk(png, "IEND", "");
  return png;
}

}  // namespace kxtest
