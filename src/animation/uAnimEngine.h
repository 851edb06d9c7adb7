// The animation engine: turns one loaded picture file into a moving picture.
//
// Each frame ripples the water areas of the picture into WaterFrame; when
// anything is drawn on top (objects, weather, clock) the frame is copied into
// Composite first. The engine has no timer or thread of its own: the saver
// calls NextFrame once per idle pass and all motion is scaled by the time the
// injected clock says has passed since the previous frame.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "animation/uClock.h"
#include "animation/uCommonConst.h"
#include "animation/uCreatorProject.h"
#include "animation/uRain.h"
#include "animation/uSnow.h"
#include "os/uClock.h"
#include "raster/uBitmap.h"
#include "raster/uRandom.h"

namespace kx {

class TAnimEngine {
 public:
  static constexpr int kAreaCount = TProject::kWaveCount;  // wave records; region maps name 1..6
  static constexpr int kMapAreaCount = 6;
  static constexpr int32_t kNoMinRow = 50000;  // MinRow of an area that does not occur
  static constexpr int kMaxWeatherCount = TWeatherEffect::kMaxCount;

  // Draws from random (the show's generator), which must outlive the engine.
  TAnimEngine(IClock& clock, TRandom& random);
  ~TAnimEngine();
  TAnimEngine(const TAnimEngine&) = delete;
  TAnimEngine& operator=(const TAnimEngine&) = delete;

  // Takes the picture, region map, wave records, speed and objects of the
  // project, which must outlive the engine's use of it (until the next Attach).
  void Attach(TProject& project);
  // Turns snow or rain (as the project's weather record says) on or off:
  // frees the current effect and, when on, makes a fresh one over Composite
  // with at most 1000 particles, placed at random by the engine's generator.
  void SetWeather(bool on);
  // Start reseeds the engine's generator from this value instead of the
  // clock (and the objects then go on drawing from it rather than reseed),
  // so a run can be repeated exactly; nullopt goes back to the clock.
  void SetSeed(std::optional<uint32_t> seed) { m_seed = seed; }
  // Prepares the attached picture: sizes, area map, reflection, jitter, and
  // one frame; WaterFrame then holds the still picture. A project without a
  // picture (or none attached) gives an empty output.
  void Start();
  // Ripples the water, advances the wave phases by the time passed and draws
  // everything that goes on top.
  void NextFrame();
  // The frame to present: Composite when anything is drawn over the water,
  // otherwise WaterFrame.
  const TBitmap32& GetOutput() const;
  // Back to the still picture (and a fresh reflection); the next frame
  // ripples again.
  void ResetFrame();

  // Wave phase of each area in degrees; keeps growing or shrinking.
  std::array<int32_t, kAreaCount> Phase{};
  int32_t Speed = 100;  // percent, copied from the project by Attach
  // Draw the clock, in the corner Clock.Corner names, over every frame.
  bool ShowClock = false;
  // The clock overlay; Start sizes it to an eighth of the picture's width
  // when ShowClock is on. It shows the injected clock's local time.
  TClock Clock;
  uint32_t LastTick = 0;
  // cos(i degrees), i = 0..360.
  const std::array<double, 361> CosTable;

  int32_t Width() const { return m_width; }
  int32_t Height() const { return m_height; }
  bool WeatherOn() const { return m_weatherOn; }
  bool HasReflection() const { return m_hasReflection; }
  // First and last row in which area k (0..7) occurs; kNoMinRow and 0 when absent.
  int32_t MinRow(int k) const { return m_minRow[size_t(k)]; }
  int32_t MaxRow(int k) const { return m_maxRow[size_t(k)]; }
  // Area 0..5 of a pixel of the started picture, -1 for none.
  int16_t AreaMap(int32_t x, int32_t y) const { return m_areaMap[size_t(y) * size_t(m_width) + size_t(x)]; }
  // The fixed row offset of column x in area k, drawn at Start.
  int32_t Jitter(int k, int32_t x) const { return m_jitter[size_t(k)][size_t(x)]; }
  const TBitmap32& WaterFrame() const { return m_waterFrame; }
  const TBitmap32& Composite() const { return m_composite; }
  // The still picture with mirror images in the reflecting areas (empty
  // without reflecting areas).
  const TBitmap32& Reflected() const { return m_reflected; }
  // The active weather effect, or null.
  TSnow* Snow() { return m_snow.get(); }
  TRain* Rain() { return m_rain.get(); }

 private:
  // A run of pixels x0 <= x < x1 of one row that all belong to area Area.
  struct TSpan {
    int32_t Area;
    int32_t X0, X1;
  };
  // The per-row wave values of one area.
  struct TRowWave {
    double Amp, Freq, DAmp, DFreq;
    int64_t VOff, HOff;
    uint32_t AbsPeriod;  // |Period|; a Period of 0 counts as 360
  };

  bool HasOverlays() const;
  // The attached picture still has the size the engine was started with.
  bool SourceMatches() const;
  void BuildAreaMap();
  void BuildReflection();
  void BuildJitter();
  void RipplePass();
  void RippleSpan(int32_t y, const TSpan& span, const TRowWave& rw);
  bool AreaCovers(int32_t y, int k, int32_t x0, int32_t x1) const;
  void AdvancePhases(uint32_t dt);
  void ComposeOverlays(uint32_t dt);
  // The attached project's animated objects, drawn into Composite.
  size_t ObjectCount() const { return m_objects ? m_objects->Count() : 0; }
  void StartObjects();
  // Runs the steps each object has due, then draws the visible ones in
  // list order, later ones over earlier ones.
  void DrawObjects();
  void FreeWeather();
  void CreateWeather(int32_t kind, int32_t count);
  void DrawWeather(uint32_t dt);
  void DrawClock();

  IClock& m_clock;
  TRandom& m_random;
  TProject* m_project = nullptr;
  const TBitmap32* m_source = nullptr;
  const TBitmap32* m_regionMap = nullptr;
  const std::array<TWaveParam, kAreaCount>* m_waves = nullptr;
  TAnimObjects* m_objects = nullptr;
  std::optional<uint32_t> m_seed;

  int32_t m_width = 0, m_height = 0;
  TBitmap32 m_reflected, m_waterFrame, m_composite;
  const TBitmap32* m_sampleSource = nullptr;  // m_source, or m_reflected with reflections
  bool m_hasReflection = false;
  bool m_weatherOn = false;
  std::unique_ptr<TSnow> m_snow;
  std::unique_ptr<TRain> m_rain;

  std::vector<int16_t> m_areaMap;  // m_height rows of m_width
  std::array<int32_t, kAreaCount> m_minRow{}, m_maxRow{};
  std::array<std::vector<int32_t>, kAreaCount> m_jitter;
  std::array<bool, kAreaCount> m_hasJitter{};
  // The largest jitter value of columns X0 .. X1 - 1 of each area, for the
  // run last asked about (the runs of most rows are alike).
  struct TJitterPeak {
    int32_t X0 = 0, X1 = 0, Largest = 0;
  };
  std::array<TJitterPeak, kAreaCount> m_jitterPeak{};
  // The spans of row y are m_spans[m_rowSpans[y] .. m_rowSpans[y + 1]).
  std::vector<TSpan> m_spans;
  std::vector<uint32_t> m_rowSpans;
  int32_t m_firstRow = 0, m_lastRow = -1;  // rows in which any area occurs
  // Slanted areas: the start of the source row (as a pixel index) for each
  // table angle, for row m_slantRowOf[k].
  std::array<std::array<size_t, 360>, kMapAreaCount> m_slantRows{};
  std::array<int32_t, kMapAreaCount> m_slantRowOf{};
  std::array<std::pair<int32_t, int32_t>, kMapAreaCount> m_slantReach{};  // first and last of those rows
};

// Resizes a loaded project to width x height before Attach: the picture
// bilinearly, the region map by nearest pixel (area colours stay exact), and
// Amplitude and Jitter of every wave record in proportion. With
// keepProportions the picture keeps its aspect ratio and fits inside
// width x height. DesignWidth and DesignHeight stay. An empty project or a
// size below 1 x 1 leaves the project as it is.
void FitProject(bool keepProportions, TProject& project, int32_t width, int32_t height);

}  // namespace kx
