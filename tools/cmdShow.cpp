// kxtool show: the full-screen mode of a screensaver on the headless display,
// with a virtual clock, its frames written as PNG files and its events printed.
#include <cstdio>
#include <optional>
#include <stdexcept>

#include "devices/headless/uHeadlessDisplay.h"
#include "devices/headless/uHeadlessSound.h"
#include "os/uErrorSink.h"
#include "os/uFileAccess.h"
#include "os/uPlatform.h"
#include "package/uIniFile.h"
#include "package/uPackage.h"
#include "package/uWorkFolder.h"
#include "raster/uPngIO.h"
#include "saver/FKXScrSvr.h"
#include "sound/uAudioDuration.h"
#include "startup/uStartup.h"
#include "tools/kxtool.h"

namespace kxtool {
namespace {

// Prints one line per event, stamped with the virtual tick.
class TPrintedEvents final : public kx::TShowEvents {
 public:
  explicit TPrintedEvents(kx::IClock& clock) : m_clock(clock) {}
  void PictureShown(int32_t index, const std::string& path) override {
    std::printf("%u picture %d %s\n", m_clock.Tick(), index, path.c_str());
  }
  void TransitionStarted(int32_t effect, int32_t frames) override {
    std::printf("%u transition %d %d\n", m_clock.Tick(), effect, frames);
  }
  void Ended() override { std::printf("%u end\n", m_clock.Tick()); }

 private:
  kx::IClock& m_clock;
};

// Errors the show drops and carries on from: one line each on stderr,
// stamped like the events; line breaks in a message become spaces.
class TPrintedErrors final : public kx::IErrorSink {
 public:
  explicit TPrintedErrors(kx::IClock& clock) : m_clock(clock) {}
  void Report(const std::string& where, const std::string& what) noexcept override {
    std::string line = what;
    for (char& c : line)
      if (c == '\r' || c == '\n') c = ' ';
    std::fprintf(stderr, "%u error %s: %s\n", m_clock.Tick(), where.c_str(), line.c_str());
  }

 private:
  kx::IClock& m_clock;
};

int32_t PositiveNumber(const std::string& text, const char* what) {
  const std::optional<int32_t> n = kx::ParseInteger(text);
  if (!n || *n < 0) throw std::runtime_error(std::string("bad ") + what + ": " + text);
  return *n;
}

}  // namespace

int Show(const Args& args) {
  std::string file, dir;
  int32_t width = 0, height = 0, seconds = -1, every = 1, frameCost = 30;
  std::optional<uint32_t> seed;
  kx::TLocalTime time{10, 8, 30};
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--screen" && hasValue) {
      const std::string v = args[++i];
      const size_t x = v.find('x');
      if (x == std::string::npos) throw std::runtime_error("bad --screen: " + v);
      width = PositiveNumber(v.substr(0, x), "width");
      height = PositiveNumber(v.substr(x + 1), "height");
    } else if (a == "--seconds" && hasValue) seconds = PositiveNumber(args[++i], "--seconds");
    else if (a == "-o" && hasValue) dir = args[++i];
    else if (a == "--every" && hasValue) every = std::max(1, PositiveNumber(args[++i], "--every"));
    else if (a == "--seed" && hasValue) seed = uint32_t(std::stoul(args[++i]));
    else if (a == "--frame-cost" && hasValue) frameCost = PositiveNumber(args[++i], "--frame-cost");
    else if (a == "--time" && hasValue) time = ParseLocalTime(args[++i]);
    else if (file.empty()) file = a;
    else throw std::runtime_error("unexpected argument " + a);
  }
  if (file.empty() || dir.empty() || width <= 0 || height <= 0 || seconds < 0)
    throw std::runtime_error(
        "usage: kxtool show FILE --screen WxH --seconds S -o DIR [--every K] [--seed N] [--frame-cost MS]"
        " [--time HH:MM:SS]");
  if (width > kx::TBitmap32::kMaxSide || height > kx::TBitmap32::kMaxSide)
    throw std::runtime_error("screen too large");
  if (!kx::IsRegularFile(file)) throw std::runtime_error("cannot read " + file);
  kx::CreateFolder(dir);
  if (dir.back() != '/') dir += '/';

  kx::TVirtualClock clock;
  clock.SetLocalTime(time);  // the clock overlay shows this time at the start of the show
  kx::THeadlessDisplay display(clock, width, height, uint32_t(frameCost));
  display.Script({uint32_t(seconds) * 1000u, {kx::TInputKind::KeyPress, 0, 0, 27}});
  uint64_t presented = 0;
  display.OnPresent([&](const kx::TBitmap32& screen) {
    if (presented++ % uint64_t(every) != 0) return;
    kx::TBitmap32 opaque = screen;
    for (int32_t y = 0; y < opaque.Height(); ++y)
      for (kx::TPixel* p = opaque.Row(y); p != opaque.Row(y) + opaque.Width(); ++p) *p |= 0xFF000000u;
    char name[32];
    std::snprintf(name, sizeof name, "frame-%09u.png", clock.Tick());
    kx::WritePng(dir + name, opaque);
  });
  TPrintedEvents events(clock);
  TPrintedErrors errors(clock);
  kx::TInputState input;
  // Sound effects and music are recorded, not heard: one line each.
  kx::TSoundLog sounds(clock);
  sounds.OnRecord([](const kx::TSoundRecord& r) { std::printf("%u %s\n", r.Tick, r.Line.c_str()); });
  kx::THeadlessSoundChannels channels(sounds);
  kx::THeadlessMusicPlayer music(sounds, kx::AudioFileDurationMs);
  display.WakeFor(&music);

  const TWorkFolderScope work(file);
  kx::TKXCProject project;
  kx::TSaverContext context{display, clock, file, seed, &events, &input};
  context.Sound = &channels;
  context.Music = &music;
  context.WorkFolder = kx::GetWorkFolder();
  context.Errors = &errors;
  kx::PreparePackage(project, file);
  kx::RunSlideshow(project, true, false, context);
  return 0;
}

}  // namespace kxtool
