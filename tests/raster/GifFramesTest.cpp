#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "raster/uDecodeError.h"
#include "raster/uGifFrames.h"
#include "raster/uObjectBlend.h"
#include "support/GifBuilder.h"

using namespace kx;
using kxtest::MakeGif;
using kxtest::SolidFrame;
using kxtest::TGifFrameSpec;

namespace {

// Palette: 0 black, 1 red, 2 green, 3 blue.
const std::vector<kxtest::TGifColor> kPalette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
const TPixel K = kGifKeyFill, R = MakePixel(255, 0, 0), G = MakePixel(0, 255, 0), B = MakePixel(0, 0, 255),
             N = MakePixel(0, 0, 0);

std::span<const uint8_t> Bytes(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

// The pixels of row 0 of a frame.
std::vector<TPixel> Row0(const TBitmap32& b) {
  std::vector<TPixel> row;
  for (int32_t x = 0; x < b.Width(); ++x) row.push_back(b.Pixel(x, 0));
  return row;
}

TEST(GifFrames, DisposalMethodsComposeFramesAsShown) {
  // A 4 x 1 screen: frame 0 paints all red; frame 1 paints column 1 green
  // with disposal d; frame 2 paints column 3 blue.
  struct Case {
    int disposal;
    std::vector<TPixel> third;
  };
  const Case cases[] = {
      {1, {R, G, R, B}},  // left in place
      {2, {R, K, R, B}},  // cleared to the fill
      {3, {R, R, R, B}},  // what was there before it
      {0, {R, G, R, B}},
  };
  for (const Case& c : cases) {
    TGifFrameSpec second = SolidFrame(1, 0, 1, 1, 2);
    second.Disposal = c.disposal;
    const std::string gif = MakeGif(4, 1, kPalette, {SolidFrame(0, 0, 4, 1, 1), second, SolidFrame(3, 0, 1, 1, 3)});
    const TGifFrames f = DecodeGifFrames(Bytes(gif), {});
    ASSERT_EQ(f.Frames.size(), 3u);
    EXPECT_EQ(Row0(f.Frames[1]), (std::vector<TPixel>{R, G, R, R})) << c.disposal;
    EXPECT_EQ(Row0(f.Frames[2]), c.third) << c.disposal;
  }
}

TEST(GifFrames, RestoreToPreviousAfterAClearedFrame) {
  // Frame 1 clears itself (2); frame 2 (disposal 3) restores the cleared state.
  TGifFrameSpec one = SolidFrame(0, 0, 2, 1, 2), two = SolidFrame(0, 0, 1, 1, 3);
  one.Disposal = 2;
  two.Disposal = 3;
  const TGifFrames f =
      DecodeGifFrames(Bytes(MakeGif(2, 1, kPalette, {SolidFrame(0, 0, 2, 1, 1), one, two, SolidFrame(1, 0, 1, 1, 1)})), {});
  ASSERT_EQ(f.Frames.size(), 4u);
  EXPECT_EQ(Row0(f.Frames[2]), (std::vector<TPixel>{B, K}));
  EXPECT_EQ(Row0(f.Frames[3]), (std::vector<TPixel>{K, R}));
}

TEST(GifFrames, TransparencyOptions) {
  // Frame 0: red everywhere; frame 1 on top: [index 0, index 2, index 1] with
  // the file's transparent index 0. The first frame's bottom-left pixel is red.
  TGifFrameSpec top;
  top.Width = 3, top.Height = 1, top.Pixels = {0, 2, 1}, top.Transparent = 0;
  TGifFrameSpec noControl = SolidFrame(0, 0, 3, 1, 1);
  noControl.Control = false;
  const std::string gif = MakeGif(3, 1, kPalette, {SolidFrame(0, 0, 3, 1, 1), top});
  struct Case {
    const char* name;
    TGifFrameOptions options;
    std::vector<TPixel> second;
  };
  TGifFrameOptions off, own, corner, colour, missing;
  off.Transparent = false;
  corner.TransparentType = 1;
  colour.TransparentType = 2, colour.KeyColor = MakePixel(0, 255, 0);
  missing.TransparentType = 2, missing.KeyColor = MakePixel(1, 2, 3);
  const Case cases[] = {
      {"off", off, {N, G, R}},
      {"own", own, {R, G, R}},
      // Red is transparent in both frames: frame 0 leaves the fill.
      {"corner colour", corner, {N, G, K}},
      {"type 2", colour, {N, R, R}},
      {"type 2 missing colour", missing, {N, G, R}},
  };
  for (const Case& c : cases) {
    const TGifFrames f = DecodeGifFrames(Bytes(gif), c.options);
    ASSERT_EQ(f.Frames.size(), 2u) << c.name;
    EXPECT_EQ(Row0(f.Frames[1]), c.second) << c.name;
  }
  // With RefreshFrame every frame clears its rectangle after it.
  TGifFrameOptions refresh;
  refresh.RefreshFrame = true;
  const TGifFrames r = DecodeGifFrames(Bytes(gif), refresh);
  EXPECT_EQ(Row0(r.Frames[1]), (std::vector<TPixel>{K, G, R}));
}

TEST(GifFrames, BadFramesDecodeWhatTheyCan) {
  // A frame reaching beyond the screen is clipped; a zero-size frame is an
  // empty frame of its own.
  TGifFrameSpec empty;  // a 0 x 0 image: descriptor, code size, no data
  empty.Raw = std::string("\x2c\0\0\0\0\0\0\0\0\0\x02\0", 12);
  const std::string gif = MakeGif(3, 2, kPalette, {SolidFrame(2, 1, 5, 5, 3), empty, SolidFrame(0, 0, 1, 1, 2)});
  const TGifFrames f = DecodeGifFrames(Bytes(gif), {});
  ASSERT_EQ(f.Frames.size(), 3u);
  EXPECT_EQ(f.Frames[0].Pixel(2, 1), B);
  EXPECT_EQ(f.Frames[0].Pixel(1, 1), K);
  EXPECT_EQ(f.Frames[1], f.Frames[0]);
  EXPECT_EQ(f.Frames[2].Pixel(0, 0), G);

  // Data that breaks off inside the second frame: the first frame stays.
  const std::string two = MakeGif(4, 4, kPalette, {SolidFrame(0, 0, 4, 4, 1), SolidFrame(0, 0, 4, 4, 2)});
  const std::string cut = two.substr(0, two.size() - 6);
  const TGifFrames c = DecodeGifFrames(Bytes(cut), {});
  ASSERT_GE(c.Frames.size(), 1u);
  EXPECT_EQ(c.Frames[0].Pixel(3, 3), R);
  // A stream with garbage where the first frame's data should be fails cleanly.
  std::string broken = MakeGif(4, 4, kPalette, {SolidFrame(0, 0, 4, 4, 1)});
  EXPECT_THROW(DecodeGifFrames(Bytes(broken.substr(0, 20)), {}), TDecodeError);
  EXPECT_THROW(DecodeGifFrames(Bytes(std::string("GIF89a")), {}), TDecodeError);
}

TEST(GifFrames, ComposedFramesStopAtTheMemoryBudget) {
  std::vector<TGifFrameSpec> frames(50, SolidFrame(0, 0, 8, 8, 1));
  TGifFrameOptions small;
  small.MaxBytes = 10 * (8 * 8 * 4 + 128);
  const TGifFrames f = DecodeGifFrames(Bytes(MakeGif(8, 8, kPalette, frames)), small);
  EXPECT_EQ(f.Frames.size(), 10u);
  EXPECT_EQ(f.Delays.size(), 10u);
  small.MaxBytes = 100;  // not even one frame
  EXPECT_THROW(DecodeGifFrames(Bytes(MakeGif(8, 8, kPalette, frames)), small), TDecodeError);
}

TEST(GifFrames, FrameAtFollowsDelaysSpeedAndLoops) {
  const std::vector<uint32_t> delays = {10, 20, 0};  // 100, 200 and (0 plays as 10) 100 ms at 100 %
  struct Case {
    uint64_t ms;
    int32_t speed;
    size_t frame;
  };
  const Case cases[] = {
      {0, 100, 0},   {99, 100, 0},  {100, 100, 1},  {299, 100, 1}, {300, 100, 2},  {399, 100, 2},
      {400, 100, 0}, {4100, 100, 1}, {50, 200, 1},  {149, 200, 1}, {150, 200, 2},  {999, 10, 0},
      {1000, 10, 1}, {12345, 0, 0},  {16, 600, 0},  {17, 600, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(GifFrameAt(delays, c.ms, c.speed), c.frame) << c.ms << " @" << c.speed;
  const std::vector<uint32_t> one = {1};
  EXPECT_EQ(GifFrameAt(one, 5000, 100), 0u);
  EXPECT_EQ(GifFrameAt(std::vector<uint32_t>{1, 1}, 100, 100), 1u);  // 1 hundredth plays as 10
  // Any elapsed time and speed, without overflow: UINT64_MAX mod 400 is 15,
  // which at ten times the speed is 150 ms into the loop.
  EXPECT_EQ(GifFrameAt(delays, UINT64_MAX, 1000), 1u);
  EXPECT_EQ(GifFrameAt(delays, UINT64_MAX - 115, 100), 2u);
}

}  // namespace

TEST(GifFrames, LinesOutsideTheScreenAreNotDecoded) {
  // The first frame's data holds 4 x 2 pixels but its descriptor claims more
  // rows (or lies elsewhere): decoding a row beyond the data fails, so the
  // animation goes on to the green frame only if those rows are skipped.
  struct Case {
    const char* name;
    int left, top, height;
    int32_t transparentType;
    size_t frames;  // composed
  };
  const Case cases[] = {
      {"rows below the screen", 0, 0, 4, 0, 2},
      {"wholly below the screen", 0, 2, 4, 0, 2},
      {"wholly right of the screen", 4, 0, 2, 0, 2},
      // The key colour of type 1 is the first frame's bottom-left pixel: its
      // rows are decoded, and the data breaks off on the way.
      {"bottom row needed for the key", 0, 0, 4, 1, 1},
  };
  for (const Case& c : cases) {
    std::string gif = MakeGif(4, 2, kPalette, {SolidFrame(0, 0, 4, 2, 1), SolidFrame(0, 0, 4, 2, 2)});
    const size_t frame = 13 + 4 * 3 + 8;  // after the screen, the colours and the control extension
    ASSERT_EQ(gif[frame], ',');
    gif[frame + 1] = char(c.left), gif[frame + 3] = char(c.top), gif[frame + 7] = char(c.height);
    TGifFrameOptions options;
    options.TransparentType = c.transparentType;
    const TGifFrames f = DecodeGifFrames(Bytes(gif), options);
    ASSERT_EQ(f.Frames.size(), c.frames) << c.name;
    if (c.top == 0 && c.left == 0) EXPECT_EQ(Row0(f.Frames[0]), (std::vector<TPixel>{R, R, R, R})) << c.name;
    if (c.frames == 2) EXPECT_EQ(Row0(f.Frames[1]), (std::vector<TPixel>{G, G, G, G})) << c.name;
  }
}

TEST(GifFrames, DecodingStopsAtTheBudget) {
  // 1 x 1 screen, frames 256 pixels wide: each needs one line of 256 pixels.
  // MaxBytes / 4 pixels of lines are decoded, however little the frames show.
  const std::vector<TGifFrameSpec> frames(20, SolidFrame(0, 0, 256, 4, 1));
  TGifFrameOptions options;
  options.MaxBytes = 4 * 256 * 5;  // five lines
  const TGifFrames f = DecodeGifFrames(Bytes(MakeGif(1, 1, kPalette, frames)), options);
  EXPECT_EQ(f.Frames.size(), 5u);
  EXPECT_EQ(f.Frames[4].Pixel(0, 0), R);
}
