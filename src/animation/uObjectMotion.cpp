// The common life of an animated object: its start, the display state
// machine with fades and redisplay, and the ten kinds of motion. Times are
// ms ticks; every step is handed its own due time.
#include <algorithm>
#include <array>
#include <limits>

#include "animation/uAnimMath.h"
#include "animation/uObject.h"
#include "raster/uRandom.h"

namespace kx {
namespace {

// Area corners and first positions stay within +-2^30, so that sums and
// differences of them never overflow 32 bits.
constexpr int64_t kFar = int64_t(1) << 30;
int32_t Bounded(int64_t v) { return int32_t(std::clamp(v, -kFar, kFar)); }

int32_t RandomSign(TRandom& random) { return random.Random(2) == 0 ? -1 : 1; }

int32_t Half(int32_t lo, int32_t hi) { return Bounded(int64_t(lo) + (int64_t(hi) - lo) / 2); }

// The first DirX and DirY of each InitialDir value; 0 keeps the random one.
struct TInitialDir {
  int32_t X, Y;
};
constexpr std::array<TInitialDir, 9> kInitialDirs = {
    {{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}}};

}  // namespace

// ---- placing by motion: one entry per Motion value ----

namespace {

using TPlace = void (*)(TAnimObject&, TRandom&);

void PlaceStatic(TAnimObject&, TRandom&) {}
void PlaceWander(TAnimObject& o, TRandom&) { o.PosX = o.WanderX, o.PosY = o.WanderY; }
void PlaceBounce(TAnimObject& o, TRandom&) { o.PosX = o.BounceX, o.PosY = o.BounceY; }
void PlaceBounceX(TAnimObject& o, TRandom&) { o.PosX = o.BounceX; }
void PlaceBounceY(TAnimObject& o, TRandom&) { o.PosY = o.BounceY; }
// The bouncing coordinate mapped so that the shown position always runs the
// way Mirror started, jumping back to the near edge at each bounce.
double OneWay(double bounce, int32_t dir, int32_t mirror, int32_t lo, int32_t hi) {
  const double a = double(lo) + hi - bounce;
  if (mirror < 0) return dir > 0 ? a : bounce;
  return dir > 0 ? bounce : a;
}
void PlaceOneWayX(TAnimObject& o, TRandom&) {
  o.PosX = OneWay(o.BounceX, o.DirX, o.MirrorX, o.Area.Left, o.Area.Right);
}
void PlaceOneWayY(TAnimObject& o, TRandom&) {
  o.PosY = OneWay(o.BounceY, o.DirY, o.MirrorY, o.Area.Top, o.Area.Bottom);
}
// An ellipse around the area's centre, starting below it and running
// clockwise on screen, Speed / 1000 degrees per step.
void PlaceEllipse(TAnimObject& o, TRandom&) {
  const double t = -double(o.StepCount) * o.Speed / 1000;
  const int64_t rx = (int64_t(o.Area.Right) - o.Area.Left) / 2 - o.PictureWidth / 2;
  const int64_t ry = (int64_t(o.Area.Bottom) - o.Area.Top) / 2 - o.PictureHeight / 2;
  o.PosX = SinDeg(t) * double(rx) + Half(o.Area.Left, o.Area.Right);
  o.PosY = CosDeg(t) * double(ry) + Half(o.Area.Top, o.Area.Bottom);
}
void PlaceTremble(TAnimObject& o, TRandom& random) {
  o.PosX += (double(random.Random(9)) - 4) * o.Speed / 1000;
  o.PosY += (double(random.Random(9)) - 4) * o.Speed / 1000;
}

constexpr std::array<TPlace, 10> kPlaces = {PlaceStatic, PlaceWander,  PlaceBounce,  PlaceBounceX, PlaceBounceY,
                                            PlaceOneWayX, PlaceOneWayY, PlaceEllipse, PlaceStatic,  PlaceTremble};

}  // namespace

void TAnimObject::Start(uint32_t now, TRandom& random, bool reseed) {
  Alpha = FullAlpha();
  StartMotion(now, random, reseed);
}

void TAnimObject::StartMotion(uint32_t now, TRandom& random, bool reseed) {
  m_random = &random;
  if (reseed) random.SeedFromClock();
  CurrentDelay = DisplaySec;
  Visible = DisplaySec == 0;
  StartTick = now;
  StepCount = 0;
  Flipped = false;
  WanderCount = 0;
  WanderLimit = int32_t(random.Random(300)) + 50;
  WanderRangeX = int32_t(random.Random(1000));
  WanderRangeY = int32_t(random.Random(1000));

  const TRect base = MotionAreaType == 0 ? TRect{0, 0, DesignWidth, DesignHeight} : MoveAreaRect;
  const int64_t hw = PictureWidth / 2, hh = PictureHeight / 2;
  const int64_t sw = RoundEven(double(hw) * WidthSize / 100), sh = RoundEven(double(hh) * HeightSize / 100);
  if (RestrictArea)
    Area = {Bounded(base.Left + hw), Bounded(base.Top + hh), Bounded(base.Right - sw), Bounded(base.Bottom - sh)};
  else
    Area = {Bounded(base.Left - hw), Bounded(base.Top - hh), Bounded(base.Right + sw), Bounded(base.Bottom + sh)};

  PosLeft = FirstPosition(PosLeftType, PosLeft, Area.Left, Area.Right);
  PosTop = FirstPosition(PosTopType, PosTop, Area.Top, Area.Bottom);
  ResetMotion();
  m_running = true;
  m_nextStep = now;
}

int32_t TAnimObject::FirstPosition(uint8_t type, int32_t value, int32_t lo, int32_t hi) const {
  switch (type) {
    case 1: return lo;
    case 2: return hi;
    case 3: return Half(lo, hi);
    case 4:
      return m_random->RandomRange(lo, hi);
    case 5: {
      const int64_t v = m_random->RandomRange(lo, hi);
      return Bounded(v < Half(lo, hi) ? int64_t(lo) - v : 2 * int64_t(hi) - v);
    }
    default: return value;
  }
}

void TAnimObject::ResetMotion() {
  OffScreen = false;
  TRandom& random = *m_random;
  DirX = RandomSign(random);
  DirY = RandomSign(random);
  MirrorX = RandomSign(random);
  MirrorY = RandomSign(random);
  if (InitialDir < kInitialDirs.size()) {
    const TInitialDir d = kInitialDirs[InitialDir];
    if (d.X) DirX = d.X;
    if (d.Y) DirY = d.Y;
  }
  WanderDirX = MirrorX = DirX;
  WanderDirY = MirrorY = DirY;
  ScaleX = DesignWidth > 0 ? double(DisplayRect.Right) / DesignWidth : 0;
  ScaleY = DesignHeight > 0 ? double(DisplayRect.Bottom) / DesignHeight : 0;
  SetPos(PosLeft, PosTop);
  BounceX = WanderX = PosLeft;
  BounceY = WanderY = PosTop;
  Speed = int32_t(std::clamp<int64_t>(int64_t(MotionSpeed) * 10, std::numeric_limits<int32_t>::min(),
                                      std::numeric_limits<int32_t>::max()));
}

void TAnimObject::SetPos(double x, double y) {
  PosX = x;
  PosY = y;
  ScreenLeft = PixelCoordinate(ScaleX * (PosX - PictureWidth / 2.0));
  ScreenTop = PixelCoordinate(ScaleY * (PosY - PictureHeight / 2.0));
}

void TAnimObject::CatchUp(uint32_t now) {
  if (!m_running) return;
  const auto behind = int32_t(now - m_nextStep);
  if (behind < 0) return;
  if (uint32_t(behind) > kMaxCatchUpMs) m_nextStep += (uint32_t(behind) - kMaxCatchUpMs) / kStepMs * kStepMs;
  while (int32_t(now - m_nextStep) >= 0) {
    Step(m_nextStep);
    m_nextStep += kStepMs;
  }
}

void TAnimObject::Step(uint32_t now) {
  UpdateDisplay(now);
  if (!Visible) return;
  const int32_t oldLeft = ScreenLeft;
  Move();
  Place();
  Face(oldLeft);
}

void TAnimObject::FadeTo(double p) {
  Alpha = uint8_t(std::clamp<int64_t>(RoundEven(double(RoundEven(p)) * 255 / 100), 0, 255));
}

void TAnimObject::UpdateDisplay(uint32_t now) {
  if (StartTick == -1) return;
  const int64_t e = int64_t(uint32_t(now - uint32_t(StartTick)));
  const int64_t show = int64_t(CurrentDelay) * 1000;
  if (!Visible && e >= show) Visible = true;
  if (!Visible) return;
  const int64_t hide = (int64_t(CurrentDelay) + DisplayDurationSec) * 1000;
  const double opacity = Opacity / 10.0;
  // A fade of 0 seconds (or less) is no fade: the object shows and hides
  // at full opacity instead of dividing by zero.
  if (DisplayDurationType == 1) {
    if (e >= hide) Visible = false;
    const int64_t dur = int64_t(DisappearEffectDur) * 1000;
    if (DisappearEffect == 1 && dur > 0 && hide - dur <= e && e < hide)
      FadeTo(double(hide - e) * 100 * opacity / double(dur));
  }
  const int64_t appear = int64_t(AppearEffectDur) * 1000;
  if (AppearEffect == 1 && appear > 0 && e <= show + appear) FadeTo(double(e - show) * 100 * opacity / double(appear));
  if (DisplayDurationType == 2 && OffScreen) Visible = false;
  if (Visible) return;
  if (Redisplay) {
    if (ResetPos) ResetMotion();
    CurrentDelay = RedisplayDelay;
    StartTick = now;
    OffScreen = false;
    Alpha = FullAlpha();
  } else {
    StartTick = -1;  // finished until the next Start
  }
}

// A coordinate leaves through the low edge when it is at or beyond the low
// end of the area, outside the picture, moving down and that edge is allowed;
// likewise through the high edge.
bool TAnimObject::Leaving(double v, int32_t lo, int32_t hi, int32_t design, int32_t dir, bool lowAllowed,
                          bool highAllowed) const {
  return (v <= lo && v < 0 && dir == -1 && lowAllowed) || (v >= hi && v > design && dir == 1 && highAllowed);
}

void TAnimObject::Move() {
  const TEdges& edges = OffScreenEdges;
  TRandom& random = *m_random;
  BounceX += double(random.Random(1000)) * Speed * DirX / 100000;
  BounceY += double(random.Random(1000)) * Speed * DirY / 100000;
  if (Motion == 2 || Motion == 3 || Motion == 5)
    OffScreen = Leaving(BounceX, Area.Left, Area.Right, DesignWidth, DirX, edges.Left, edges.Right);
  if ((Motion == 2 || Motion == 4 || Motion == 6) && !OffScreen)
    OffScreen = Leaving(BounceY, Area.Top, Area.Bottom, DesignHeight, DirY, edges.Top, edges.Bottom);
  if (BounceX <= Area.Left) DirX = 1;
  if (BounceY <= Area.Top) DirY = 1;
  if (BounceX >= Area.Right) DirX = -1;
  if (BounceY >= Area.Bottom) DirY = -1;

  WanderX += double(random.Random(uint32_t(std::max(WanderRangeX, 0)))) * Speed * WanderDirX / 100000;
  WanderY += double(random.Random(uint32_t(std::max(WanderRangeY, 0)))) * Speed * WanderDirY / 100000;
  ++WanderCount;
  if (WanderX <= Area.Left || WanderX >= Area.Right || WanderY <= Area.Top || WanderY >= Area.Bottom)
    WanderCount = WanderLimit;
  if (WanderCount >= WanderLimit) Turn();
  StepCount = int32_t(uint32_t(StepCount) + 1);
}

// A wander turn: a new direction now and then, always back into the area.
void TAnimObject::Turn() {
  const TEdges& edges = OffScreenEdges;
  TRandom& random = *m_random;
  if (Motion == 1) {
    OffScreen = Leaving(WanderY, Area.Top, Area.Bottom, DesignHeight, WanderDirY, edges.Top, edges.Bottom);
    if (!OffScreen)
      OffScreen = Leaving(WanderX, Area.Left, Area.Right, DesignWidth, WanderDirX, edges.Left, edges.Right);
  }
  if (random.Random(10) == 0) WanderDirX = RandomSign(random);
  WanderDirY = int32_t(random.Random(3)) - 1;
  if (WanderX <= Area.Left) WanderDirX = 1;
  if (WanderX >= Area.Right) WanderDirX = -1;
  if (WanderY <= Area.Top) WanderDirY = 1;
  if (WanderY >= Area.Bottom) WanderDirY = -1;
  WanderLimit = int32_t(random.Random(300)) + 50;
  WanderRangeX = int32_t(random.Random(800)) + 200;
  WanderRangeY = int32_t(random.Random(1000));
  WanderCount = 0;
}

void TAnimObject::Place() {
  if (Motion < kPlaces.size()) kPlaces[Motion](*this, *m_random);
  SetPos(PosX, PosY);
}

void TAnimObject::Face(int32_t oldLeft) {
  const int32_t newLeft = ScreenLeft;
  if (ObjFacing == 1) Flipped = DirFlip && (newLeft < oldLeft || (newLeft == oldLeft && Flipped));
  else if (ObjFacing == 0) Flipped = DirFlip && (newLeft > oldLeft || (newLeft == oldLeft && Flipped));
}

}  // namespace kx
