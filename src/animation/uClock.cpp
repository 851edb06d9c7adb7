#include "animation/uClock.h"

#include <algorithm>

#include "animation/uAnimMath.h"
#include "raster/uBlend.h"

namespace kx {
namespace {

constexpr TPixel kBlack = MakePixel(0, 0, 0);
constexpr TPixel kOutline = MakePixel(112, 112, 112);
constexpr uint8_t kTickShadow = 100, kMinuteShadow = 80, kHourShadow = 100, kSecondShadow = 80;

TPoint Shifted(TPoint p) { return {p.X + 1, p.Y + 1}; }

}  // namespace

TPoint TClock::PointAt(int32_t cx, int32_t cy, double degrees, double radius) {
  return {cx + int32_t(RoundEven(SinDeg(degrees) * radius)), cy - int32_t(RoundEven(CosDeg(degrees) * radius))};
}

int32_t TClock::Hour12(int32_t hour) {
  const int32_t h = ((hour % 12) + 12) % 12;
  return h == 0 ? 12 : h;
}

void TClock::SetSize(int32_t w, int32_t h) {
  w = std::clamp(w, 0, TBitmap32::kMaxSide);
  h = std::clamp(h, 0, TBitmap32::kMaxSide);
  Bitmap.SetSize(w, h, 0);
  ClockWidth = w;
  ClockHeight = h;
  const int32_t cx = w / 2, cy = h / 2, r = cy - 10;
  const auto r1 = double(RoundEven(r * 19 / 20.0)), r2 = double(RoundEven(r * 8.5 / 10));
  for (int i = 1; i <= 60; ++i) {
    Outer[size_t(i - 1)] = PointAt(cx, cy, i * 6, r);
    Inner[size_t(i - 1)] = PointAt(cx, cy, i * 6, i % 5 == 0 ? r2 : r1);
  }
}

TPoint TClock::Place(int32_t pictureWidth, int32_t pictureHeight) const {
  const int32_t right = pictureWidth - ClockWidth - 10, bottom = pictureHeight - ClockHeight - 10;
  switch (Corner) {
    case 1: return {right, 10};
    case 2: return {10, bottom};
    case 3: return {right, bottom};
    default: return {10, 10};
  }
}

// 1 pixel, the last one left out.
void TClock::ThinLine(TPoint a, TPoint b, TPixel colour, uint8_t alpha) {
  BlendLine(Bitmap, a.X, a.Y, b.X, b.Y, colour, alpha);
}

// Two antialiased quadrilaterals: the line widened by a pixel to each side
// horizontally, then vertically. One of them is flat for a line along an axis.
void TClock::ThickLine(TPoint a, TPoint b, TPixel colour, uint8_t alpha) {
  const double x1 = a.X, y1 = a.Y, x2 = b.X, y2 = b.Y;
  const TPointF across[] = {{x1 - 1, y1}, {x1 + 1, y1}, {x2 + 1, y2}, {x2 - 1, y2}};
  const TPointF down[] = {{x1, y1 + 1}, {x1, y1 - 1}, {x2, y2 - 1}, {x2, y2 + 1}};
  BlendPolygon(Bitmap, across, colour, alpha);
  BlendPolygon(Bitmap, down, colour, alpha);
}

// The ellipse in the box (cx - 4, cy - 4) .. (cx + 4, cy + 4), right and
// bottom edges excluded: the pixels whose centres lie inside it are filled
// with Colour, and those of them with a side neighbour outside it form the
// grey outline.
void TClock::CentreDisc(int32_t cx, int32_t cy) {
  const auto inside = [&](int32_t x, int32_t y) {
    if (x < cx - 4 || x >= cx + 4 || y < cy - 4 || y >= cy + 4) return false;
    const double dx = (x + 0.5 - cx) / 4, dy = (y + 0.5 - cy) / 4;
    return dx * dx + dy * dy <= 1;
  };
  for (int32_t y = cy - 4; y < cy + 4; ++y)
    for (int32_t x = cx - 4; x < cx + 4; ++x) {
      if (!inside(x, y)) continue;
      const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
      BlendPixel(Bitmap, x, y, edge ? kOutline : Colour, 255);
    }
}

void TClock::Render(const TLocalTime& now) {
  if (Bitmap.Empty()) return;
  for (size_t i = 0; i < 60; ++i) {
    const bool hourMark = (i + 1) % 5 == 0;
    const auto line = hourMark ? &TClock::ThickLine : &TClock::ThinLine;
    (this->*line)(Shifted(Outer[i]), Shifted(Inner[i]), kBlack, kTickShadow);
    (this->*line)(Outer[i], Inner[i], Colour, Alpha);
  }
  const int32_t cx = ClockWidth / 2, cy = ClockHeight / 2;
  const double longHand = double(RoundEven(cy * 8 / 10.0)), shortHand = double(RoundEven(cy * 5 / 10.0));
  const TPoint centre{cx, cy};
  const TPoint minute = PointAt(cx, cy, MinuteAngle(now), longHand);
  ThickLine(Shifted(centre), Shifted(minute), kBlack, kMinuteShadow);
  ThickLine(centre, minute, Colour, Alpha);
  const TPoint hour = PointAt(cx, cy, HourAngle(now), shortHand);
  ThickLine(Shifted(centre), Shifted(hour), kBlack, kHourShadow);
  ThickLine(centre, hour, Colour, Alpha);
  const TPoint second = PointAt(cx, cy, SecondAngle(now), longHand);
  ThinLine(Shifted(centre), Shifted(second), kBlack, kSecondShadow);
  ThinLine(centre, second, Colour, Alpha);
  CentreDisc(cx, cy);
}

}  // namespace kx
