// kxtool frames: the animation engine's frames of a picture file as PNGs,
// timed by a virtual clock so that a run repeats exactly with --seed.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>

#include "animation/uAnimEngine.h"
#include "animation/uCreatorProject.h"
#include "devices/headless/uVirtualClock.h"
#include "os/uFileAccess.h"
#include "raster/uPngIO.h"
#include "tools/kxtool.h"

namespace kxtool {
namespace {

constexpr const char* kUsage =
    "usage: kxtool frames FILE.kxp -o DIR [--frames N] [--dt MS] [--size WxH] [--proportional] [--seed S]"
    " [--time HH:MM:SS] [--clock CORNER] [--objects-dir DIR]";

// A whole decimal number from lo to hi.
uint32_t Number(const std::string& text, const char* what, uint32_t lo, uint32_t hi) {
  uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < lo || value > hi)
    throw std::runtime_error(std::string(what) + " takes a number from " + std::to_string(lo) + " to " +
                             std::to_string(hi) + ": " + text);
  return value;
}

struct TSize {
  int32_t Width, Height;
};

TSize ParseSize(const std::string& text) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) throw std::runtime_error("--size takes WxH: " + text);
  const auto side = [](const std::string& s) { return int32_t(Number(s, "--size", 1, kx::TBitmap32::kMaxSide)); };
  const TSize size{side(text.substr(0, x)), side(text.substr(x + 1))};
  if (int64_t(size.Width) * size.Height > kx::TBitmap32::kMaxPixels) throw std::runtime_error("--size is too large");
  return size;
}

}  // namespace

kx::TLocalTime ParseLocalTime(const std::string& text) {
  const size_t a = text.find(':'), b = a == std::string::npos ? a : text.find(':', a + 1);
  if (b == std::string::npos) throw std::runtime_error("--time takes HH:MM:SS: " + text);
  return {int32_t(Number(text.substr(0, a), "--time hours", 0, 23)),
          int32_t(Number(text.substr(a + 1, b - a - 1), "--time minutes", 0, 59)),
          int32_t(Number(text.substr(b + 1), "--time seconds", 0, 59))};
}

int Frames(const Args& args) {
  std::string file, dir, objectsDir;
  uint32_t frames = 10, dt = 33;
  std::optional<TSize> size;
  std::optional<uint32_t> seed;
  std::optional<uint8_t> clockCorner;
  kx::TLocalTime time{10, 8, 30};
  bool proportional = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "-o" && hasValue) dir = args[++i];
    else if (a == "--frames" && hasValue) frames = Number(args[++i], "--frames", 0, 1000000);
    else if (a == "--dt" && hasValue) dt = Number(args[++i], "--dt", 0, 3600000);
    else if (a == "--size" && hasValue) size = ParseSize(args[++i]);
    else if (a == "--seed" && hasValue) seed = Number(args[++i], "--seed", 0, UINT32_MAX);
    else if (a == "--time" && hasValue) time = ParseLocalTime(args[++i]);
    else if (a == "--clock" && hasValue) clockCorner = uint8_t(Number(args[++i], "--clock", 0, 3));
    else if (a == "--objects-dir" && hasValue) objectsDir = args[++i];
    else if (a == "--proportional") proportional = true;
    else if (file.empty() && !a.starts_with("-")) file = a;
    else throw std::runtime_error(std::string("unexpected argument ") + a + "\n" + kUsage);
  }
  if (file.empty() || dir.empty()) throw std::runtime_error(kUsage);
  if (proportional && !size) throw std::runtime_error("--proportional needs --size");

  kx::TProject project;
  if (!project.Load(file)) throw std::runtime_error("cannot load " + file + ": " + project.LoadError);
  if (size) kx::FitProject(proportional, project, size->Width, size->Height);
  // Object pictures not found at their stored path are looked for here, as
  // the player looks in its work folder.
  if (!objectsDir.empty()) project.Objects.LocateFiles(objectsDir.back() == '/' ? objectsDir : objectsDir + "/");

  kx::TVirtualClock clock;
  clock.SetLocalTime(time);
  kx::TRandom random;
  kx::TAnimEngine engine(clock, random);
  engine.SetSeed(seed);
  engine.ShowClock = clockCorner.has_value();
  engine.Clock.Corner = clockCorner.value_or(0);
  engine.Attach(project);
  engine.SetWeather(false);
  engine.Start();
  engine.SetWeather(project.Weather.Kind > 0);

  if (!kx::CreateFolders(dir)) throw std::runtime_error("cannot create the folder " + dir);
  for (uint32_t i = 1; i <= frames; ++i) {
    clock.Advance(dt);
    engine.NextFrame();
    char name[32];
    std::snprintf(name, sizeof name, "frame-%04u.png", i);
    // Written opaque, as the screen shows it: blends leave their alpha in
    // the frame's fourth byte, which no display reads.
    kx::TBitmap32 opaque = engine.GetOutput();
    for (int32_t y = 0; y < opaque.Height(); ++y)
      for (kx::TPixel* p = opaque.Row(y); p != opaque.Row(y) + opaque.Width(); ++p) *p |= 0xFF000000u;
    kx::WritePng(dir + (dir.empty() || dir.back() == '/' ? "" : "/") + name, opaque);
  }
  return 0;
}

}  // namespace kxtool
