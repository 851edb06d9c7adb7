// The animation records of a picture file, laid out byte for byte as stored
// (little-endian, no padding), so a record is read by copying its bytes.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <type_traits>

namespace kx {

static_assert(std::endian::native == std::endian::little, "records are stored little-endian");

#pragma pack(push, 1)

// The wave settings of one water area. Flags are on when non-zero.
struct TWaveParam {
  int32_t Amplitude;    // largest displacement in pixels
  int32_t Cycles;       // wave cycles over the picture height (at Period 360)
  int32_t WaveSpeed;    // phase advance in degrees per 50 ms at speed 100
  int32_t Direction;    // wave kind and travel direction, 0..5
  uint8_t Horizontal;   // sideways displacement
  uint8_t Vertical;     // up-down displacement
  uint8_t Perspective;  // amplitude grows and wavelength shortens toward the bottom
  uint8_t Reserved1;
  int32_t Period;  // degrees of the wave profile before it repeats
  int32_t Jitter;  // each column gets a fixed random offset 0..Jitter-1
  uint8_t Reserved2;
  uint8_t Reflect;  // the area mirrors the picture above it
  uint8_t Reserved3[2];
};

// Snow or rain.
struct TWeatherParam {
  int32_t Kind;        // 0 none, 1 snow, 2 rain
  int32_t Count;       // flakes or drops (at most 1000 are used)
  int32_t SpeedIndex;  // 0..20, an index into the speed steps
  int32_t Angle;       // rain: direction of fall in degrees, 90 straight down
  int32_t Length;      // rain: streak length in tenths
  int32_t Level;       // opacity in tenths, 0..10
};

// One sound effect. Path is a length byte and up to 255 characters.
struct TSoundParam {
  uint8_t PathLength;
  char PathChars[255];
  int32_t PlayMode;    // 0 loop, 1 random intervals, 2 fixed interval
  int32_t MinSeconds;  // mode 2: the interval; mode 1: shortest wait
  int32_t MaxSeconds;  // mode 1: longest wait

  std::string Path() const { return std::string(PathChars, PathLength); }
  // Longer names are cut to 255 characters; the unused characters are cleared.
  void SetPath(std::string_view path) {
    PathLength = uint8_t(std::min<size_t>(path.size(), sizeof PathChars));
    std::fill(std::begin(PathChars), std::end(PathChars), '\0');
    std::copy_n(path.data(), PathLength, PathChars);
  }
  bool Empty() const { return PathLength == 0; }
};

#pragma pack(pop)

static_assert(sizeof(TWaveParam) == 32 && std::is_trivially_copyable_v<TWaveParam>);
static_assert(sizeof(TWeatherParam) == 24 && std::is_trivially_copyable_v<TWeatherParam>);
static_assert(sizeof(TSoundParam) == 268 && std::is_trivially_copyable_v<TSoundParam>);
static_assert(offsetof(TWaveParam, Period) == 20 && offsetof(TWaveParam, Reflect) == 29);
static_assert(offsetof(TSoundParam, PlayMode) == 256);

}  // namespace kx
