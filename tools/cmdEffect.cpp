// kxtool effect: one frame of a transition effect, from two pictures to a PNG.
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "package/uIniFile.h"
#include "raster/uPngIO.h"
#include "raster/uRandom.h"
#include "tools/kxtool.h"
#include "transitions/PSEffect.h"

namespace kxtool {
namespace {

kx::TBitmap32 LoadPng(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return kx::DecodePng(bytes);
}

int32_t Number(const std::string& text, const char* what) {
  const std::optional<int32_t> n = kx::ParseInteger(text);
  if (!n) throw std::runtime_error(std::string("not a number for ") + what + ": " + text);
  return *n;
}

int List() {
  for (int32_t n = 1; n <= kx::kEffectCount; ++n)
    std::printf("%d\t%.*s\n", n, int(kx::Effects[n].Name.size()), kx::Effects[n].Name.data());
  return 0;
}

}  // namespace

int Effect(const Args& args) {
  if (args.size() == 1 && args[0] == "--list") return List();
  std::vector<std::string> positional;
  std::optional<uint32_t> seed;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--seed" && i + 1 < args.size()) {
      const std::string& text = args[++i];
      uint32_t value = 0;
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
      if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw std::runtime_error("--seed takes a number from 0 to 4294967295");
      seed = value;
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 5)
    throw std::runtime_error("usage: kxtool effect N P OLD.png NEW.png OUT.png [--seed S] | kxtool effect --list");
  const int32_t number = Number(positional[0], "the effect");
  if (!kx::IsEffectNumber(number)) {
    std::fprintf(stderr, "kxtool effect: no effect %d; effects are numbered 1 to %d\n", number, kx::kEffectCount);
    return 1;
  }
  const int32_t percent = Number(positional[1], "the percentage");
  if (percent < 0 || percent > 100) throw std::runtime_error("the percentage runs from 0 to 100");

  const kx::TBitmap32 oldPicture = LoadPng(positional[2]);
  const kx::TBitmap32 newPicture = LoadPng(positional[3]);
  if (oldPicture.Width() != newPicture.Width() || oldPicture.Height() != newPicture.Height())
    throw std::runtime_error("the two pictures differ in size");
  const int32_t w = oldPicture.Width(), h = oldPicture.Height();
  const kx::TPoint extent = kx::EffectExtents(w, h, percent);

  kx::TBitmap32 frame = oldPicture;
  kx::TRandom random(seed.value_or(0));
  kx::Effects[number].Proc(frame, newPicture, w, h, extent.X, extent.Y, percent, random);
  kx::WritePng(positional[4], frame);
  return 0;
}

}  // namespace kxtool
