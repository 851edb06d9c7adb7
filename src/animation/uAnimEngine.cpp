#include "animation/uAnimEngine.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <type_traits>
#include <utility>

#include "animation/uFitResize.h"
#include "animation/uWaterRows.h"
#include "package/uFileIO.h"
#include "raster/uBlit.h"
#include "raster/uRandom.h"
#include "raster/uResample.h"

namespace kx {
namespace {

constexpr double kDegree = std::numbers::pi / 180;

constexpr double kSmall = 2251799813685248.0;  // 2^51

// v rounded to the nearest integer, halves to the even neighbour, for
// |v| < kSmall: adding 1.5 * 2^52 leaves no bits below the units, so the sum
// is rounded by the hardware in its default mode.
inline int64_t NearestSmall(double v) {
  constexpr double kShift = 6755399441055744.0;
  return int64_t((v + kShift) - kShift);
}

// The same for any value; beyond +-4e18 the result saturates, so a hostile
// wave record never overflows.
inline int64_t Nearest(double v) {
  if (std::fabs(v) < kSmall) return NearestSmall(v);
  return std::llrint(std::clamp(v, -4.0e18, 4.0e18));
}

constexpr double kShiftFits = 1 << 20;

// The fill of the slanted rows' table for an amplitude below kShiftFits and
// a picture lower than that: the shifts fit 32 bits and the row sums do not
// overflow, so the loops work on whole vectors; the rounding is
// NearestSmall's.
void FillSlantRows(std::array<size_t, 360>& offsets, const std::array<double, 361>& cosTable, int32_t y, double amp,
                   int32_t maxY, size_t stride, int32_t& lo, int32_t& hi) {
  constexpr double kShift = 6755399441055744.0;
  alignas(32) std::array<int32_t, 360> rows;
  for (size_t i = 0; i < 360; ++i) rows[i] = y + int32_t((cosTable[i] * amp + kShift) - kShift);
  int32_t least = rows[0], most = rows[0];
  for (size_t i = 0; i < 360; ++i) {
    least = std::min(least, rows[i]);
    most = std::max(most, rows[i]);
  }
  for (size_t i = 0; i < 360; ++i) offsets[i] = size_t(std::clamp(rows[i], 0, maxY)) * stride;
  lo = std::clamp(least, 0, maxY);
  hi = std::clamp(most, 0, maxY);
}

std::array<double, 361> MakeCosTable() {
  std::array<double, 361> t{};
  for (int i = 0; i <= 360; ++i) t[size_t(i)] = std::cos(i * kDegree);
  return t;
}

// Area 0..5 of a region map pixel, -1 for any other value.
inline int16_t AreaOfPixel(TPixel p) {
  for (int16_t n = 1; n <= TAnimEngine::kMapAreaCount; ++n)
    if (p == kRegionPixels[n]) return int16_t(n - 1);
  return -1;
}

// The CosTable index of cos((a mod period) degrees): cos is even and the
// remainder takes the sign of the dividend, so this is (|a| mod |period|) mod
// 360. period is never 0; a is within +-4e18 (see Nearest).
inline size_t CosIndex(int64_t a, uint32_t absPeriod) {
  const auto ua = uint64_t(a < 0 ? -a : a);
  if (absPeriod == 360) return size_t(ua % 360);
  if (ua <= UINT32_MAX) return size_t(uint32_t(ua) % absPeriod % 360);
  return size_t(ua % absPeriod % 360);
}

inline int64_t Clamp(int64_t v, int64_t hi) { return v < 0 ? 0 : v > hi ? hi : v; }

// Copies the pixels of a bitmap of the same size.
void CopyPixels(TBitmap32& dst, const TBitmap32& src) {
  std::memcpy(dst.Bits(), src.Bits(), src.StrideBytes() * size_t(src.Height()));
}

}  // namespace

TAnimEngine::TAnimEngine(IClock& clock, TRandom& random) : CosTable(MakeCosTable()), m_clock(clock), m_random(random) {}

TAnimEngine::~TAnimEngine() { FreeWeather(); }

void TAnimEngine::Attach(TProject& project) {
  m_project = &project;
  m_source = &project.Picture;
  m_regionMap = &project.RegionMap;
  m_waves = &project.Waves;
  m_objects = &project.Objects;
  Speed = project.Speed;
}

// Every object starts over the started picture: its display rectangle is the
// picture, its coordinates the picture's stored size. Objects without a
// picture file stay out of the show.
void TAnimEngine::StartObjects() {
  if (!m_objects) return;
  const uint32_t now = m_clock.Tick();
  for (size_t i = 0; i < m_objects->Count(); ++i) {
    TAnimObject& o = (*m_objects)[i];
    o.DisplayRect = {0, 0, m_width, m_height};
    o.DesignWidth = m_project->DesignWidth;
    o.DesignHeight = m_project->DesignHeight;
    o.Stop();
    o.Start(now, m_random, !m_seed.has_value());
  }
}

void TAnimEngine::DrawObjects() {
  if (!m_objects) return;
  const uint32_t now = m_clock.Tick();
  for (size_t i = 0; i < m_objects->Count(); ++i) (*m_objects)[i].CatchUp(now);
  for (size_t i = 0; i < m_objects->Count(); ++i) {
    TAnimObject& o = (*m_objects)[i];
    if (o.Running() && o.HasPicture() && o.Visible) o.Draw(m_composite, o.DrawRect(), o.Flipped, now);
  }
}

void TAnimEngine::FreeWeather() {
  m_snow.reset();
  m_rain.reset();
}

// Snow (kind 1) or rain (kind 2) with at most kMaxWeatherCount flakes or
// drops, falling over Composite; other kinds make none.
void TAnimEngine::CreateWeather(int32_t kind, int32_t count) {
  const auto make = [&](auto& effect) {
    effect = std::make_unique<typename std::remove_reference_t<decltype(effect)>::element_type>();
    effect->Target = &m_composite;
    effect->SetCount(count);
    effect->Init(m_random);
  };
  if (kind == 1) make(m_snow);
  else if (kind == 2) make(m_rain);
}

// Hands the effect the time passed and the weather record's settings, then
// lets it move and draw its particles.
void TAnimEngine::DrawWeather(uint32_t dt) {
  if (!m_project) return;
  const TWeatherParam& w = m_project->Weather;
  const auto hand = [&](TWeatherEffect& effect) {
    effect.Dt = int32_t(std::min<uint32_t>(dt, INT32_MAX));
    effect.EngineSpeed = Speed;
    effect.SpeedIndex = w.SpeedIndex;
    effect.Level = w.Level;
  };
  if (m_snow) {
    hand(*m_snow);
    m_snow->Update(m_random);
  } else if (m_rain) {
    hand(*m_rain);
    m_rain->Length = w.Length;
    // The record counts its angle the other way round: 180 - Angle is the
    // fall direction, 90 straight down either way. Computed in 64 bits, as
    // the record is outside data.
    m_rain->Angle = int32_t((180 - int64_t(w.Angle)) % 360);
    m_rain->Update(m_random);
  }
}

// The clock takes the pixels under its square, draws face and hands over
// them and goes back opaquely; parts beyond the picture are left out.
void TAnimEngine::DrawClock() {
  const TPoint at = Clock.Place(m_composite.Width(), m_composite.Height());
  const int32_t w = Clock.ClockWidth, h = Clock.ClockHeight;
  Copy(Clock.Bitmap, 0, 0, w, h, m_composite, at.X, at.Y);
  Clock.Render(m_clock.LocalTime());
  Copy(m_composite, at.X, at.Y, w, h, Clock.Bitmap, 0, 0);
}

void TAnimEngine::SetWeather(bool on) {
  m_weatherOn = on;
  FreeWeather();
  if (on && m_project) CreateWeather(m_project->Weather.Kind, m_project->Weather.Count);
}

bool TAnimEngine::HasOverlays() const { return m_weatherOn || ObjectCount() > 0 || ShowClock; }

const TBitmap32& TAnimEngine::GetOutput() const { return HasOverlays() ? m_composite : m_waterFrame; }

bool TAnimEngine::SourceMatches() const {
  return m_source && m_width > 0 && m_source->Width() == m_width && m_source->Height() == m_height;
}

void TAnimEngine::Start() {
  LastTick = m_clock.Tick();
  Phase.fill(0);
  if (!m_project || m_source->Empty()) {
    // Nothing to animate: an empty frame, and no area left from an earlier picture.
    m_width = m_height = 0;
    m_waterFrame.SetSize(0, 0);
    m_composite.SetSize(0, 0);
    m_reflected.SetSize(0, 0);
    m_hasReflection = false;
    m_sampleSource = nullptr;
    BuildAreaMap();
    SetWeather(m_weatherOn);
    return;
  }
  m_width = m_source->Width();
  m_height = m_source->Height();
  m_waterFrame.SetSize(m_width, m_height);
  Clock.Colour = MakePixel(255, 255, 255);
  Clock.Alpha = 180;
  if (ShowClock) {
    const auto side = int32_t(Nearest(m_width / 8.0));
    Clock.SetSize(side, side);
  }
  if (m_project->Weather.Kind > 0 || ObjectCount() > 0 || ShowClock) m_composite.SetSize(m_width, m_height);

  if (m_seed) m_random.Seed(*m_seed);
  else m_random.SeedFromClock();

  m_hasReflection = std::any_of(m_waves->begin(), m_waves->end(), [](const TWaveParam& w) { return w.Reflect != 0; });
  BuildAreaMap();
  if (m_hasReflection) {
    m_reflected = *m_source;
    BuildReflection();
    m_sampleSource = &m_reflected;
  } else {
    m_reflected = TBitmap32();
    m_sampleSource = m_source;
  }
  BuildJitter();
  StartObjects();
  SetWeather(m_weatherOn);
  NextFrame();
  // Ripples start from the still picture; pixels outside every area keep it.
  CopyPixels(m_waterFrame, *m_source);
}

// The area of every pixel, the rows each area spans and the runs of equal
// area along each row. Pixels the region map does not cover are in no area.
void TAnimEngine::BuildAreaMap() {
  const int32_t w = m_width, h = m_height;
  m_areaMap.assign(size_t(w) * size_t(h), int16_t(-1));
  m_minRow.fill(kNoMinRow);
  m_maxRow.fill(0);
  m_spans.clear();
  m_rowSpans.assign(size_t(h) + 1, 0);
  const int32_t mapW = m_regionMap ? std::min(m_regionMap->Width(), w) : 0;
  const int32_t mapH = m_regionMap ? std::min(m_regionMap->Height(), h) : 0;
  for (int32_t y = 0; y < h; ++y) {
    m_rowSpans[size_t(y)] = uint32_t(m_spans.size());
    if (y >= mapH) continue;
    const TPixel* in = m_regionMap->Row(y);
    int16_t* row = m_areaMap.data() + size_t(y) * size_t(w);
    for (int32_t x = 0; x < mapW;) {
      const int16_t k = AreaOfPixel(in[x]);
      int32_t end = x + 1;
      while (end < mapW && in[end] == in[x]) ++end;
      if (k >= 0) {
        std::fill(row + x, row + end, k);
        m_spans.push_back({k, x, end});
        m_minRow[size_t(k)] = std::min(m_minRow[size_t(k)], y);
        m_maxRow[size_t(k)] = std::max(m_maxRow[size_t(k)], y);
      }
      x = end;
    }
  }
  m_rowSpans[size_t(h)] = uint32_t(m_spans.size());
  m_firstRow = h;
  m_lastRow = -1;
  for (int k = 0; k < kAreaCount; ++k) {
    if (m_minRow[size_t(k)] > m_maxRow[size_t(k)]) continue;
    m_firstRow = std::min(m_firstRow, m_minRow[size_t(k)]);
    m_lastRow = std::max(m_lastRow, m_maxRow[size_t(k)]);
  }
}

// Each reflecting area shows the picture above it mirrored about the area's
// first row f: pixel (x, y) takes the source pixel (x, 2f - y - 1) while that
// row exists, and keeps its own pixel below row 2f.
void TAnimEngine::BuildReflection() {
  for (int k = 0; k < kMapAreaCount; ++k) {
    if (!(*m_waves)[size_t(k)].Reflect || m_minRow[size_t(k)] > m_maxRow[size_t(k)]) continue;
    const int32_t f = m_minRow[size_t(k)];
    const int32_t last = std::min(m_maxRow[size_t(k)], 2 * f - 1);
    for (int32_t y = f; y <= last; ++y) {
      const TPixel* above = m_source->Row(2 * f - y - 1);
      TPixel* out = m_reflected.Row(y);
      for (uint32_t i = m_rowSpans[size_t(y)]; i < m_rowSpans[size_t(y) + 1]; ++i) {
        const TSpan& s = m_spans[i];
        if (s.Area == k) std::memcpy(out + s.X0, above + s.X0, size_t(s.X1 - s.X0) * sizeof(TPixel));
      }
    }
  }
}

// Every column of every area gets a fixed random offset 0..Jitter-1, drawn
// area by area from the engine's generator (a Jitter of 0 or below draws 0).
void TAnimEngine::BuildJitter() {
  for (int k = 0; k < kAreaCount; ++k) {
    std::vector<int32_t>& column = m_jitter[size_t(k)];
    column.resize(size_t(m_width));
    const uint32_t range = uint32_t(std::max((*m_waves)[size_t(k)].Jitter, 0));
    bool any = false;
    for (int32_t& j : column) {
      j = int32_t(m_random.Random(range));
      any |= j != 0;
    }
    m_hasJitter[size_t(k)] = any;
    m_jitterPeak[size_t(k)] = {};
  }
}

void TAnimEngine::NextFrame() {
  const uint32_t now = m_clock.Tick();
  const uint32_t dt = now - LastTick;
  LastTick = now;
  if (SourceMatches()) RipplePass();
  AdvancePhases(dt);
  ComposeOverlays(dt);
}

void TAnimEngine::RipplePass() {
  const std::array<TWaveParam, kAreaCount>& waves = *m_waves;
  std::array<TRowWave, kAreaCount> rows;
  for (int k = 0; k < kAreaCount; ++k) {
    const TWaveParam& w = waves[size_t(k)];
    TRowWave& r = rows[size_t(k)];
    r = {};
    r.Amp = w.Amplitude;
    r.Freq = double(w.Cycles) * w.Period / 360;
    r.AbsPeriod = w.Period == 0 ? 360u : w.Period < 0 ? 0u - uint32_t(w.Period) : uint32_t(w.Period);
    if (w.Perspective) {
      r.Amp = 0;
      const int32_t span = m_maxRow[size_t(k)] - m_minRow[size_t(k)];
      r.DAmp = span == 0 ? double(w.Amplitude) : double(w.Amplitude) / span;
      r.DFreq = span == 0 ? r.Freq : double(w.Cycles) * w.Period / 360 / span;
    }
  }
  m_slantRowOf.fill(-1);
  const double h = m_height;
  for (int32_t y = m_firstRow; y <= m_lastRow; ++y) {
    for (int k = 0; k < kAreaCount; ++k) {
      if (y < m_minRow[size_t(k)] || y > m_maxRow[size_t(k)]) continue;
      const TWaveParam& w = waves[size_t(k)];
      TRowWave& r = rows[size_t(k)];
      if (w.Perspective) {
        r.Amp += r.DAmp;
        r.Freq -= 0.8 * r.DFreq;
      }
      const int64_t a = Nearest((h - y) * r.Freq * 360 / h + Phase[size_t(k)]);
      r.VOff = Nearest(CosTable[CosIndex(a, r.AbsPeriod)] * r.Amp);
      r.HOff = w.Horizontal ? Nearest(std::cos(double(a % 360) * kDegree) * r.Amp) : 0;
    }
    for (uint32_t i = m_rowSpans[size_t(y)]; i < m_rowSpans[size_t(y) + 1]; ++i)
      RippleSpan(y, m_spans[i], rows[size_t(m_spans[i].Area)]);
  }
}

// Whether the pixels x0..x1-1 of row y all belong to area k.
bool TAnimEngine::AreaCovers(int32_t y, int k, int32_t x0, int32_t x1) const {
  for (uint32_t i = m_rowSpans[size_t(y)]; i < m_rowSpans[size_t(y) + 1]; ++i) {
    const TSpan& t = m_spans[i];
    if (t.X0 > x0) break;
    if (t.Area == k && t.X1 >= x1) return true;
  }
  return false;
}

// Ripples the pixels x0..x1-1 of row y, all in area k. A sample is written
// only when its source pixel and its destination pixel both lie in area k, so
// nothing from outside an area ever enters it and nothing outside changes.
void TAnimEngine::RippleSpan(int32_t y, const TSpan& span, const TRowWave& r) {
  const int k = span.Area;
  const TWaveParam& w = (*m_waves)[size_t(k)];
  const int32_t d = w.Direction;
  const bool vertical = w.Vertical != 0, horizontal = w.Horizontal != 0;
  const bool slanted = vertical && d >= 2 && d <= 5;
  const size_t stride = size_t(m_width);
  const int64_t maxX = m_width - 1, maxY = m_height - 1;
  const int16_t* areas = m_areaMap.data();
  const TPixel* in = m_sampleSource->Bits();
  TPixel* out = m_waterFrame.Bits();
  TPixel* outRow = out + size_t(y) * stride;

  if (!slanted && !horizontal && !m_hasJitter[size_t(k)]) {
    // The whole run reads one source row.
    const int64_t srcY = Clamp(vertical ? y + r.VOff : y, maxY);
    const TPixel* src = in + size_t(srcY) * stride;
    if (srcY == y) {
      std::memcpy(outRow + span.X0, src + span.X0, size_t(span.X1 - span.X0) * sizeof(TPixel));
      return;
    }
    // Only the pixels whose source is in the area too: where this run
    // overlaps the runs of the same area in the source row.
    for (uint32_t i = m_rowSpans[size_t(srcY)]; i < m_rowSpans[size_t(srcY) + 1]; ++i) {
      const TSpan& t = m_spans[i];
      if (t.X0 >= span.X1) break;
      const int32_t lo = std::max(t.X0, span.X0), hi = std::min(t.X1, span.X1);
      if (t.Area == k && lo < hi) std::memcpy(outRow + lo, src + lo, size_t(hi - lo) * sizeof(TPixel));
    }
    return;
  }

  if (!slanted && !m_hasJitter[size_t(k)]) {
    // Sideways waves: one source row and one sideways shift for the whole run.
    const int64_t srcY = Clamp(vertical ? y + r.VOff : y, maxY);
    const TPixel* src = in + size_t(srcY) * stride;
    const int16_t* rowAreas = areas + size_t(y) * stride;
    const int16_t* srcAreas = areas + size_t(srcY) * stride;
    const int64_t shift = r.HOff;
    // Columns whose source column lies inside the picture: [inLo, inHi).
    const int64_t inLo = std::clamp<int64_t>(shift, span.X0, span.X1);
    const int64_t inHi = std::clamp<int64_t>(maxX + 1 + shift, inLo, span.X1);
    const auto clampedColumns = [&](int64_t x0, int64_t x1) {
      for (int64_t x = x0; x < x1; ++x) {
        const auto srcX = size_t(Clamp(x - shift, maxX));
        if (rowAreas[srcX] == k && srcAreas[srcX] == k) outRow[x] = src[srcX];
      }
    };
    clampedColumns(span.X0, inLo);
    clampedColumns(inHi, span.X1);
    // Inside, a sample is taken where its source column is in area k both
    // in this row and in the source row: the overlaps of their runs.
    uint32_t a = m_rowSpans[size_t(y)], b = m_rowSpans[size_t(srcY)];
    const uint32_t aEnd = m_rowSpans[size_t(y) + 1], bEnd = m_rowSpans[size_t(srcY) + 1];
    while (a < aEnd && b < bEnd) {
      const TSpan& sa = m_spans[a];
      const TSpan& sb = m_spans[b];
      if (sa.Area == k && sb.Area == k) {
        const int64_t lo = std::max<int64_t>(std::max(sa.X0, sb.X0) + shift, inLo);
        const int64_t hi = std::min<int64_t>(std::min(sa.X1, sb.X1) + shift, inHi);
        if (lo < hi) std::memcpy(outRow + lo, src + (lo - shift), size_t(hi - lo) * sizeof(TPixel));
      }
      if (sa.X1 < sb.X1) ++a;
      else ++b;
    }
    return;
  }

  // Slanted waves: the phase also runs along the row, mirrored for 2 and 5:
  // column c of row y is at angle c * freq / 2 * (Height - y / 2) / Height + Phase.
  const TWaterPlanes planes{in, out, areas, m_width, m_height};
  if (slanted) {
    // Jitter does not apply to slanted vertical waves: each sample moves
    // within its column (and sideways by the row's shift) and lands on its
    // own pixel. The source row of each of the 360 table angles is worked
    // out once per row and area.
    std::array<size_t, 360>& offsets = m_slantRows[size_t(k)];
    if (m_slantRowOf[size_t(k)] != y) {
      m_slantRowOf[size_t(k)] = y;
      int32_t lo = m_height, hi = -1;
      const auto fill = [&](auto nearest) {
        for (size_t i = 0; i < 360; ++i) {
          const auto row = int32_t(Clamp(y + nearest(CosTable[i] * r.Amp), maxY));
          offsets[i] = size_t(row) * stride;
          lo = std::min(lo, row);
          hi = std::max(hi, row);
        }
      };
      // |cos| <= 1, so an ordinary amplitude bounds every product.
      if (std::fabs(r.Amp) < kShiftFits && m_height < kShiftFits)
        FillSlantRows(offsets, CosTable, y, r.Amp, int32_t(maxY), stride, lo, hi);
      else if (std::fabs(r.Amp) < kSmall) fill(NearestSmall);
      else fill(Nearest);
      m_slantReach[size_t(k)] = {lo, hi};
    }
    // Without a sideways shift, where every row a sample can come from holds
    // the area across the whole run, the samples need no check.
    bool covered = !horizontal;
    const auto [reachLo, reachHi] = m_slantReach[size_t(k)];
    for (int32_t row = reachLo; row <= reachHi && covered; ++row) covered = AreaCovers(row, k, span.X0, span.X1);
    const bool mirrored = d == 2 || d == 5;
    const TSlantRow row{y,
                        k,
                        span.X0,
                        span.X1,
                        r.Freq / 2 * (m_height - y / 2.0) / m_height,
                        double(Phase[size_t(k)]),
                        mirrored ? m_width - 1 : 0,
                        mirrored ? -1 : 1,
                        r.AbsPeriod,
                        horizontal ? r.HOff : 0,
                        !covered,
                        offsets.data()};
    if (SlantRowFits(row, m_width)) {
      RippleSlantRow(planes, row);
      return;
    }
    if (!horizontal) {
      // Angles too large for the row kernel: one pixel at a time.
      for (int32_t x = span.X0; x < span.X1; ++x) {
        const int64_t a = Nearest(double(row.Base + row.Sign * x) * row.Step + row.Phase);
        const size_t at = offsets[CosIndex(a, r.AbsPeriod)] + size_t(x);
        if (areas[at] == k) outRow[x] = in[at];
      }
      return;
    }
  }

  // Straight waves with few distinct jitter values: one pass over the run for
  // each value.
  const int32_t* jitter = m_jitter[size_t(k)].data();
  if (!slanted) {
    TJitterPeak& peak = m_jitterPeak[size_t(k)];
    if (peak.X0 != span.X0 || peak.X1 != span.X1) {
      peak = {span.X0, span.X1, 0};
      for (int32_t x = span.X0; x < span.X1; ++x) peak.Largest = std::max(peak.Largest, jitter[x]);
    }
    const int64_t jitterEnd = int64_t(peak.Largest) + 1;
    if (jitterEnd <= kMaxJitterPasses) {
      TJitterRow row{y, k, span.X0, span.X1, vertical ? r.VOff : 0, horizontal ? r.HOff : 0,
                     !vertical || d < 2 ? 1 : 0, d < 2 ? 1 : 0, jitter, int32_t(jitterEnd)};
      // The passes whose rows the area covers across the interior columns
      // and their source columns skip the per-pixel area test.
      const auto shift = std::clamp<int64_t>(row.Shift, -m_width, m_width);
      const int64_t lo = std::clamp<int64_t>(shift, span.X0, span.X1);
      const int64_t hi = std::clamp<int64_t>(maxX + 1 + shift, lo, span.X1);
      if (lo < hi) {
        const auto from = int32_t(std::min(lo, lo - shift)), to = int32_t(std::max(hi, hi - shift));
        for (int32_t j = 0; j < row.JitterEnd; ++j) {
          const auto dstY = int32_t(Clamp(y - int64_t(row.DstJitter) * j, maxY));
          const auto srcY = int32_t(Clamp(y + row.VOff - int64_t(row.SrcJitter) * j, maxY));
          if (AreaCovers(dstY, k, from, to) && AreaCovers(srcY, k, from, to)) row.Unchecked |= 1u << j;
        }
      }
      RippleJitterRow(planes, row);
      return;
    }
  }

  const double step = r.Freq / 2 * (m_height - y / 2.0) / m_height, phase = Phase[size_t(k)];
  const bool mirrored = d == 2 || d == 5;
  const auto slantOffset = [&](int32_t x) {
    const double col = mirrored ? double(m_width - 1 - x) : double(x);
    return Nearest(CosTable[CosIndex(Nearest(col * step + phase), r.AbsPeriod)] * r.Amp);
  };
  for (int32_t x = span.X0; x < span.X1; ++x) {
    const int64_t j = jitter[x];
    int64_t srcY;
    if (vertical) srcY = y + (slanted ? slantOffset(x) : r.VOff) - (d < 2 ? j : 0);
    else srcY = y - j;
    const int64_t dstY = Clamp(d < 2 ? y - j : y, maxY);
    const int64_t srcX = Clamp(horizontal ? x - r.HOff : x, maxX);
    srcY = Clamp(srcY, maxY);
    const int16_t* dstAreas = areas + size_t(dstY) * stride;
    // A shifted destination must itself lie in the area, and the source
    // column must be in the area in the destination row and the source row.
    if (dstY != y && dstAreas[x] != k) continue;
    if (dstAreas[srcX] != k || areas[size_t(srcY) * stride + size_t(srcX)] != k) continue;
    out[size_t(dstY) * stride + size_t(x)] = in[size_t(srcY) * stride + size_t(srcX)];
  }
}

// Each phase moves by WaveSpeed degrees per 50 ms at speed 100: down for
// directions 0, 4 and 5, up for the others. The phase wraps at the ends of
// its 32-bit range.
void TAnimEngine::AdvancePhases(uint32_t dt) {
  if (!m_waves) return;
  for (int k = 0; k < kAreaCount; ++k) {
    const TWaveParam& w = (*m_waves)[size_t(k)];
    const auto delta = uint32_t(uint64_t(Nearest(double(w.WaveSpeed) * dt / 50 * Speed / 100)));
    const uint32_t p = uint32_t(Phase[size_t(k)]);
    const bool down = w.Direction == 0 || w.Direction == 4 || w.Direction == 5;
    Phase[size_t(k)] = int32_t(down ? p - delta : p + delta);
  }
}

void TAnimEngine::ComposeOverlays(uint32_t dt) {
  if (!HasOverlays()) return;
  if (m_composite.Width() != m_waterFrame.Width() || m_composite.Height() != m_waterFrame.Height())
    m_composite.SetSize(m_waterFrame.Width(), m_waterFrame.Height());
  CopyPixels(m_composite, m_waterFrame);
  DrawObjects();
  if (m_weatherOn) DrawWeather(dt);
  if (ShowClock) DrawClock();
}

void TAnimEngine::ResetFrame() {
  if (!SourceMatches()) return;
  CopyPixels(m_waterFrame, *m_source);
  if (m_hasReflection) {
    CopyPixels(m_reflected, *m_source);
    BuildReflection();
  }
}

// ---- fitting ----

void FitProject(bool keepProportions, TProject& project, int32_t width, int32_t height) {
  const int32_t w0 = project.Picture.Width(), h0 = project.Picture.Height();
  if (w0 <= 0 || h0 <= 0 || width <= 0 || height <= 0) return;
  if (keepProportions) {
    const double ratio = double(w0) / h0;
    if (int64_t(w0) > int64_t(h0) * width / height) height = int32_t(std::max<int64_t>(Nearest(width / ratio), 1));
    else width = int32_t(std::max<int64_t>(Nearest(height * ratio), 1));
  }
  // Both resizes first: if either fails the project stays as it was.
  TBitmap32 picture = ResizeBilinear(project.Picture, width, height);
  TBitmap32 map = ResizeRegionMap(project.RegionMap, width, height);
  const auto scaled = [](int32_t v, int32_t to, int32_t from) {
    return int32_t(std::clamp<int64_t>(Nearest(double(v) * to / from), std::numeric_limits<int32_t>::min(),
                                        std::numeric_limits<int32_t>::max()));
  };
  for (TWaveParam& w : project.Waves) {
    w.Amplitude = scaled(w.Amplitude, width, w0);
    w.Jitter = scaled(w.Jitter, height, h0);
  }
  project.Picture = std::move(picture);
  project.RegionMap = std::move(map);
}

}  // namespace kx
