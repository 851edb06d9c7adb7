// The analogue clock drawn over picture files: a ring of 60 ticks, hour,
// minute and second hands with soft shadows and a small centre disc, all
// translucent over whatever the clock's square holds.
#pragma once

#include <array>
#include <cstdint>

#include "os/uClock.h"
#include "raster/uBitmap.h"
#include "raster/uGeometry.h"

namespace kx {

class TClock {
 public:
  TClock() { SetSize(100, 100); }

  // Resizes Bitmap and recomputes the ticks for a clock of w x h pixels
  // (sizes below 0 count as 0).
  void SetSize(int32_t w, int32_t h);
  // The top-left corner of the clock in a W x H picture, 10 pixels in from
  // the corner Corner names: 0 top left, 1 top right, 2 bottom left,
  // 3 bottom right; any other value counts as top left.
  TPoint Place(int32_t pictureWidth, int32_t pictureHeight) const;
  // The Corner for a ClockPos setting: 0..3 as they are, anything else top left.
  static uint8_t CornerOf(int32_t clockPos) { return uint8_t(clockPos >= 0 && clockPos <= 3 ? clockPos : 0); }
  // Draws the face and then the hands for the given time onto Bitmap.
  void Render(const TLocalTime& now);

  TBitmap32 Bitmap;
  int32_t ClockWidth = 0, ClockHeight = 0;
  uint8_t Corner = 0;
  TPixel Colour = MakePixel(255, 255, 255);  // its red, green and blue are used
  uint8_t Alpha = 255;
  // Outer and inner end of tick i at index i - 1 (i = 1..60), in Bitmap pixels.
  std::array<TPoint, 60> Outer{}, Inner{};

  // The point at `degrees` clockwise from twelve o'clock and `radius` from (cx, cy).
  static TPoint PointAt(int32_t cx, int32_t cy, double degrees, double radius);
  // The 12-hour value 1..12 of an hour of the 24-hour clock.
  static int32_t Hour12(int32_t hour);
  // Angles of the hour, minute and second hands in degrees.
  static double HourAngle(const TLocalTime& t) { return Hour12(t.Hour) * 30 + t.Minute / 2.0; }
  static double MinuteAngle(const TLocalTime& t) { return t.Minute * 6; }
  static double SecondAngle(const TLocalTime& t) { return t.Second * 6; }

 private:
  void ThinLine(TPoint a, TPoint b, TPixel colour, uint8_t alpha);
  void ThickLine(TPoint a, TPoint b, TPixel colour, uint8_t alpha);
  void CentreDisc(int32_t cx, int32_t cy);
};

}  // namespace kx
