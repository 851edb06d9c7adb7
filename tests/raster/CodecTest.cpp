// Picture decoders: round trips through encoders made here, hand-built BMP
// variants, and damaged data of every kind.
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <cstring>
#include <functional>

#include "raster/uBmpDecode.h"
#include "raster/uDecodeError.h"
#include "raster/uGifDecode.h"
#include "raster/uJpegCodec.h"
#include "raster/uPictureDecode.h"
#include "raster/uPngIO.h"
#include "support/PictureFileBuilder.h"
#include "support/TestSupport.h"

using namespace kx;

namespace {

std::span<const uint8_t> Bytes(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

// A small picture with a distinct colour in every pixel.
TBitmap32 Pattern(int w, int h, bool alpha) {
  TBitmap32 b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixel(x, y, MakePixel(uint8_t(x * 40), uint8_t(y * 50), uint8_t(200 - x * 10 - y),
                                 alpha ? uint8_t(x * 30 + y * 7) : 255));
  return b;
}

// ---- PNG ----

TEST(Png, RoundTripKeepsEveryChannelExactly) {
  const TBitmap32 b = Pattern(5, 3, true);
  EXPECT_EQ(DecodePng(Bytes(EncodePng(b))), b);
}

TEST(Png, PictureWithoutAlphaIsOpaque) {
  // An RGB PNG written with libpng directly: three bytes per pixel.
  const uint8_t rgb[] = {10, 20, 30, 200, 100, 0};
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 2;
  image.height = 1;
  image.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  ASSERT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, rgb, 0, nullptr));
  std::string bytes(size, '\0');
  ASSERT_TRUE(png_image_write_to_memory(&image, bytes.data(), &size, 0, rgb, 0, nullptr));
  bytes.resize(size);
  const TBitmap32 b = DecodePng(Bytes(bytes));
  EXPECT_EQ(b.Pixel(0, 0), MakePixel(10, 20, 30, 255));
  EXPECT_EQ(b.Pixel(1, 0), MakePixel(200, 100, 0, 255));
}

TEST(Png, WritePngWritesTheEncodedFile) {
  kxtest::TScratchDir dir;
  const TBitmap32 b = Pattern(3, 2, true);
  WritePng(dir / "p.png", b);
  EXPECT_EQ(DecodePictureFile(dir / "p.png"), b);
  EXPECT_THROW(WritePng(dir / "missing/p.png", b), std::runtime_error);
}

// ---- JPEG ----

// Flat 8x8 blocks survive JPEG compression almost unchanged.
TBitmap32 Blocks() {
  TBitmap32 b(16, 16);
  b.FillRect({0, 0, 8, 8}, MakePixel(255, 0, 0));
  b.FillRect({8, 0, 16, 8}, MakePixel(0, 255, 0));
  b.FillRect({0, 8, 8, 16}, MakePixel(0, 0, 255));
  b.FillRect({8, 8, 16, 16}, MakePixel(128, 128, 128));
  return b;
}

void ExpectNear(TPixel got, TPixel want, int tolerance) {
  EXPECT_NEAR(PixelR(got), PixelR(want), tolerance);
  EXPECT_NEAR(PixelG(got), PixelG(want), tolerance);
  EXPECT_NEAR(PixelB(got), PixelB(want), tolerance);
  EXPECT_EQ(PixelA(got), 255);
}

TEST(Jpeg, RoundTripWithinLossyTolerance) {
  const TBitmap32 src = Blocks();
  const TBitmap32 b = DecodeJpeg(Bytes(EncodeJpeg(src, 95)));
  ASSERT_EQ(b.Width(), 16);
  ASSERT_EQ(b.Height(), 16);
  // Block centres, away from the chroma edges: within 12 levels per channel.
  for (auto [x, y] : {std::pair{3, 3}, {12, 3}, {3, 12}, {12, 12}}) ExpectNear(b.Pixel(x, y), src.Pixel(x, y), 12);
}

TEST(Jpeg, ScaleHintDecodesSmaller) {
  const std::string jpeg = EncodeJpeg(Blocks(), 95);
  const TBitmap32 half = DecodeJpeg(Bytes(jpeg), 2);
  EXPECT_EQ(half.Width(), 8);
  EXPECT_EQ(half.Height(), 8);
  ExpectNear(half.Pixel(6, 6), MakePixel(128, 128, 128), 12);
  const TBitmap32 eighth = DecodeJpeg(Bytes(jpeg), 8);
  EXPECT_EQ(eighth.Width(), 2);
  EXPECT_THROW(DecodeJpeg(Bytes(jpeg), 3), std::invalid_argument);
}

TEST(Jpeg, DamagedStreamsThrow) {
  const std::string jpeg = EncodeJpeg(Pattern(40, 30, false), 90);
  for (const std::string& bad : {std::string(), jpeg.substr(0, 2), jpeg.substr(0, jpeg.size() / 2),
                                 jpeg.substr(0, jpeg.size() - 2), std::string("\xFF\xD8\xFF\xE0garbage", 11)})
    EXPECT_THROW(DecodeJpeg(Bytes(bad)), TDecodeError) << bad.size();
}

// Encodes raw samples (1 or 4 per pixel) as grayscale or Adobe CMYK JPEG.
std::string EncodeRawJpeg(int w, int h, const std::vector<uint8_t>& samples, J_COLOR_SPACE space) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = JDIMENSION(w);
  c.image_height = JDIMENSION(h);
  c.input_components = space == JCS_GRAYSCALE ? 1 : 4;
  c.in_color_space = space;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 100, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(samples.data()) + c.next_scanline * JDIMENSION(w * c.input_components);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::string bytes(reinterpret_cast<char*>(out), size);
  free(out);
  return bytes;
}

TEST(Jpeg, GrayAndCmykBecomeOpaqueColour) {
  const TBitmap32 gray = DecodeJpeg(Bytes(EncodeRawJpeg(8, 8, std::vector<uint8_t>(64, 90), JCS_GRAYSCALE)));
  ExpectNear(gray.Pixel(4, 4), MakePixel(90, 90, 90), 2);
  // Adobe CMYK is stored inverted: 255 is no ink. No cyan, full magenta, no
  // yellow, no black: magenta.
  std::vector<uint8_t> cmyk;
  for (int i = 0; i < 64; ++i) cmyk.insert(cmyk.end(), {255, 0, 255, 255});
  const TBitmap32 b = DecodeJpeg(Bytes(EncodeRawJpeg(8, 8, cmyk, JCS_CMYK)));
  ExpectNear(b.Pixel(4, 4), MakePixel(255, 0, 255), 4);
}

TEST(Jpeg, DecodesFromAFile) {
  kxtest::TScratchDir dir;
  kxtest::WriteFile(dir / "a.jpg", EncodeJpeg(Blocks(), 95));
  EXPECT_EQ(DecodeJpegFile(dir / "a.jpg", 4).Width(), 4);
  EXPECT_THROW(DecodeJpegFile(dir / "missing.jpg"), TDecodeError);
}

// ---- GIF ----

struct TGifFrame {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool Interlace = false;
  int Transparent = NO_TRANSPARENT_COLOR;
  std::vector<uint8_t> Indices;  // rows top-down
};

int WriteToString(GifFileType* gif, const GifByteType* data, int n) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), size_t(n));
  return n;
}

// A GIF with a global colour table of four colours, background index bg, and one frame.
std::string MakeGif(int screenW, int screenH, int bg, const TGifFrame& f) {
  std::string out;
  int err = 0;
  GifFileType* gif = EGifOpen(&out, WriteToString, &err);
  GifColorType colors[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {10, 20, 30}};
  ColorMapObject* map = GifMakeMapObject(4, colors);
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, screenW, screenH, 2, bg, map);
  if (f.Transparent != NO_TRANSPARENT_COLOR) {
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = f.Transparent;
    GifByteType ext[4];
    const size_t len = EGifGCBToExtension(&gcb, ext);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(len), ext);
  }
  EGifPutImageDesc(gif, f.Left, f.Top, f.Width, f.Height, f.Interlace, nullptr);
  std::vector<int> order;
  if (f.Interlace) {
    for (int pass = 0, start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2}; pass < 4; ++pass)
      for (int y = start[pass]; y < f.Height; y += step[pass]) order.push_back(y);
  } else {
    for (int y = 0; y < f.Height; ++y) order.push_back(y);
  }
  for (int y : order) {
    std::vector<GifPixelType> line(f.Indices.begin() + y * f.Width, f.Indices.begin() + (y + 1) * f.Width);
    EGifPutLine(gif, line.data(), f.Width);
  }
  EGifCloseFile(gif, &err);
  GifFreeMapObject(map);
  return out;
}

const TPixel kBlack = MakePixel(0, 0, 0), kRed = MakePixel(255, 0, 0), kGreen = MakePixel(0, 255, 0),
             kDark = MakePixel(10, 20, 30);

TEST(Gif, FrameOnTheBackgroundOfTheLogicalScreen) {
  TGifFrame f{1, 1, 2, 2, false, 2, {1, 2, 2, 1}};  // index 2 transparent
  const TBitmap32 b = DecodeGif(Bytes(MakeGif(4, 3, 3, f)));
  ASSERT_EQ(b.Width(), 4);
  ASSERT_EQ(b.Height(), 3);
  const TPixel want[3][4] = {{kDark, kDark, kDark, kDark}, {kDark, kRed, kDark, kDark}, {kDark, kDark, kRed, kDark}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(b.Pixel(x, y), want[y][x]) << x << "," << y;
}

TEST(Gif, InterlacedRowsLandInPlace) {
  TGifFrame f{0, 0, 1, 10, true, NO_TRANSPARENT_COLOR, {}};
  for (int y = 0; y < 10; ++y) f.Indices.push_back(uint8_t(y % 3));
  const TBitmap32 b = DecodeGif(Bytes(MakeGif(1, 10, 0, f)));
  const TPixel byIndex[3] = {kBlack, kRed, kGreen};
  for (int y = 0; y < 10; ++y) EXPECT_EQ(b.Pixel(0, y), byIndex[y % 3]) << y;
}

TEST(Gif, FramePastTheScreenIsClipped) {
  TGifFrame f{2, 1, 3, 2, false, NO_TRANSPARENT_COLOR, {1, 1, 1, 2, 2, 2}};
  const TBitmap32 b = DecodeGif(Bytes(MakeGif(3, 2, 0, f)));
  EXPECT_EQ(b.Pixel(2, 1), kRed);
  EXPECT_EQ(b.Pixel(1, 1), kBlack);
}

// ---- BMP ----

void Put16(std::string& s, uint32_t v) { s += char(v), s += char(v >> 8); }
void Put32(std::string& s, uint32_t v) { Put16(s, v & 0xFFFF), Put16(s, v >> 16); }

struct TBmpLayout {
  int Width = 0, Height = 0, Bpp = 24;
  bool TopDown = false;
  uint32_t HeaderSize = 40;  // 12, 40 or 108
  uint32_t Compression = 0;
  std::vector<uint32_t> Masks;      // r, g, b[, a]
  std::vector<uint32_t> Palette;    // 0x00RRGGBB
  std::vector<std::string> Rows;    // pixel bytes of each row, top row first, unpadded
  std::string Packed = {};          // the pixel data as stored, when there are no Rows (run-length data)
};

std::string MakeBmp(const TBmpLayout& s) {
  std::string info;
  if (s.HeaderSize == 12) {
    Put32(info, 12), Put16(info, uint32_t(s.Width)), Put16(info, uint32_t(s.Height)), Put16(info, 1),
        Put16(info, uint32_t(s.Bpp));
  } else {
    Put32(info, s.HeaderSize), Put32(info, uint32_t(s.Width)), Put32(info, uint32_t(s.TopDown ? -s.Height : s.Height));
    Put16(info, 1), Put16(info, uint32_t(s.Bpp)), Put32(info, s.Compression), Put32(info, 0), Put32(info, 2835),
        Put32(info, 2835), Put32(info, uint32_t(s.Palette.size())), Put32(info, 0);
    for (uint32_t m : s.Masks) Put32(info, m);  // in the V4 header, or right after the 40-byte one
    if (s.HeaderSize > 40) info.resize(s.HeaderSize, '\0');
  }
  for (uint32_t c : s.Palette) {
    info += char(c), info += char(c >> 8), info += char(c >> 16);
    if (s.HeaderSize != 12) info += '\0';
  }
  std::string pixels = s.Packed;
  for (int i = 0; i < s.Height && !s.Rows.empty(); ++i) {
    std::string row = s.Rows[size_t(s.TopDown ? i : s.Height - 1 - i)];
    row.resize((row.size() + 3) / 4 * 4, '\0');
    pixels += row;
  }
  std::string file = "BM";
  Put32(file, uint32_t(14 + info.size() + pixels.size())), Put32(file, 0), Put32(file, uint32_t(14 + info.size()));
  return file + info + pixels;
}

std::string B(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += char(b);
  return s;
}

struct BmpCase {
  const char* name;
  TBmpLayout layout;
  std::vector<std::vector<TPixel>> want;  // rows top-down
};

const TPixel kBlue = MakePixel(0, 0, 255), kWhite = MakePixel(255, 255, 255);

class BmpTest : public testing::TestWithParam<BmpCase> {};

TEST_P(BmpTest, DecodesExactPixels) {
  const BmpCase& c = GetParam();
  const TBitmap32 b = DecodeBmp(Bytes(MakeBmp(c.layout)));
  ASSERT_EQ(b.Height(), int(c.want.size()));
  ASSERT_EQ(b.Width(), int(c.want[0].size()));
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) EXPECT_EQ(b.Pixel(x, y), c.want[size_t(y)][size_t(x)]) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    Variants, BmpTest,
    testing::Values(
        BmpCase{"Bpp1", {9, 2, 1, false, 40, 0, {}, {0x000000, 0xFFFFFF}, {B({0x80, 0x80}), B({0x7F, 0x00})}},
                {{kWhite, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kWhite},
                 {kBlack, kWhite, kWhite, kWhite, kWhite, kWhite, kWhite, kWhite, kBlack}}},
        BmpCase{"Bpp4", {3, 1, 4, false, 40, 0, {}, {0xFF0000, 0x00FF00, 0x0000FF}, {B({0x12, 0x00})}},
                {{kGreen, kBlue, kRed}}},
        BmpCase{"Bpp8TopDown", {2, 2, 8, true, 40, 0, {}, {0xFF0000, 0x0000FF}, {B({0, 1}), B({1, 1})}},
                {{kRed, kBlue}, {kBlue, kBlue}}},
        BmpCase{"Bpp8IndexPastPaletteIsBlack", {2, 1, 8, false, 40, 0, {}, {0xFFFFFF}, {B({0, 5})}},
                {{kWhite, kBlack}}},
        BmpCase{"Bpp8CoreHeader", {2, 1, 8, false, 12, 0, {}, std::vector<uint32_t>(256, 0x0A141E), {B({0, 255})}},
                {{kDark, kDark}}},
        BmpCase{"Bpp16Default555", {2, 1, 16, false, 40, 0, {}, {}, {B({0x00, 0x7C, 0x1F, 0x00})}},
                {{kRed, kBlue}}},
        BmpCase{"Bpp16BitFields565", {2, 1, 16, false, 40, 3, {0xF800, 0x07E0, 0x001F}, {}, {B({0xE0, 0x07, 0x10, 0x84})}},
                {{kGreen, MakePixel(132, 130, 132)}}},
        BmpCase{"Bpp24BottomUp", {1, 2, 24, false, 40, 0, {}, {}, {B({30, 20, 10}), B({0, 0, 255})}},
                {{kDark}, {kRed}}},
        BmpCase{"Bpp32PlainIsOpaque", {1, 1, 32, false, 40, 0, {}, {}, {B({30, 20, 10, 0})}}, {{kDark}}},
        BmpCase{"Bpp32AlphaMask", {2, 1, 32, true, 108, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, {},
                                   {B({30, 20, 10, 0x80, 0, 0, 255, 0})}},
                {{MakePixel(10, 20, 30, 0x80), MakePixel(255, 0, 0, 0)}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Bmp, RefusesWhatItCannotDecode) {
  TBmpLayout ok{2, 2, 24, false, 40, 0, {}, {}, {B({1, 2, 3, 4, 5, 6}), B({1, 2, 3, 4, 5, 6})}};
  const std::string good = MakeBmp(ok);
  ASSERT_NO_THROW(DecodeBmp(Bytes(good)));
  auto patched = [&](size_t at, std::string bytes) {
    std::string s = good;
    s.replace(at, bytes.size(), bytes);
    return s;
  };
  std::string bigSize;
  Put32(bigSize, 40000);
  for (const std::string& bad : {
           good.substr(0, good.size() - 1),  // pixel rows cut short
           good.substr(0, 20),               // header cut short
           patched(28, B({2, 0})),           // 2 bits per pixel
           patched(30, B({1, 0, 0, 0})),     // 8-bit run-length encoding of a 24-bit picture
           patched(30, B({2, 0, 0, 0})),     // 4-bit run-length encoding of a 24-bit picture
           patched(18, bigSize),             // wider than the data
           patched(18, B({0, 0, 0, 0})),     // zero width
           patched(22, B({0, 0, 0, 0x80})),  // height -2^31
           patched(14, B({20, 0, 0, 0})),    // unknown header
       })
    EXPECT_THROW(DecodeBmp(Bytes(bad)), TDecodeError);
}

// ---- run-length encoded BMP ----

// Sixteen distinct colours, none of them black, so that pixels the data never
// reaches (black) stand out.
std::vector<uint32_t> RlePalette() {
  std::vector<uint32_t> p;
  for (uint32_t i = 0; i < 16; ++i) p.push_back(0x102030 + i * 0x0B0D07);
  return p;
}

struct RleCase {
  const char* name;
  int Width, Height, Bpp;
  bool TopDown;
  std::string Data;
  std::vector<std::string> want;  // rows top-down: a hex digit is a palette index, '.' a pixel left black
};

class BmpRleTest : public testing::TestWithParam<RleCase> {};

TEST_P(BmpRleTest, DecodesExactPixels) {
  const RleCase& c = GetParam();
  const std::vector<uint32_t> palette = RlePalette();
  const uint32_t compression = c.Bpp == 8 ? 1 : 2;
  const TBitmap32 b =
      DecodeBmp(Bytes(MakeBmp({c.Width, c.Height, c.Bpp, c.TopDown, 40, compression, {}, palette, {}, c.Data})));
  ASSERT_EQ(b.Width(), c.Width);
  ASSERT_EQ(b.Height(), c.Height);
  for (int y = 0; y < c.Height; ++y)
    for (int x = 0; x < c.Width; ++x) {
      const char want = c.want[size_t(y)][size_t(x)];
      const uint32_t rgb = want == '.' ? 0 : palette[size_t(std::stoi(std::string(1, want), nullptr, 16))];
      EXPECT_EQ(b.Pixel(x, y), rgb | 0xFF000000u) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Variants, BmpRleTest,
    testing::Values(
        // Bottom row first: a repeat and an odd absolute run with its padding
        // byte; a repeat, a move to the next row up and a repeat there; a
        // line end; an odd absolute run, the end, and data after it ignored.
        RleCase{"Rle8EveryCode", 6, 4, 8, false,
                B({3, 1, 0, 3, 2, 3, 4, 0xEE, 0, 0,
                   2, 5, 0, 2, 2, 1, 2, 6, 0, 0,
                   0, 5, 7, 8, 9, 10, 11, 0xEE, 0, 1,
                   6, 12}),
                {"789AB.", "....66", "55....", "111234"}},
        // The same at 4 bits: five nibbles in three bytes plus padding, a
        // repeat of alternating nibbles, a move, and three nibbles in two
        // bytes without padding.
        RleCase{"Rle4EveryCode", 6, 4, 4, false,
                B({0, 5, 0x12, 0x34, 0x50, 0xEE, 1, 0x60, 0, 0,
                   4, 0x78, 0, 2, 1, 1, 1, 0x9A, 0, 0,
                   0, 3, 0xBC, 0xD0, 3, 0xEF, 0, 1,
                   6, 0x11}),
                {"BCDEFE", ".....9", "7878..", "123456"}},
        RleCase{"Rle8TopDown", 3, 2, 8, true, B({3, 1, 0, 0, 2, 2, 0, 1}), {"111", "22."}},
        RleCase{"Rle4OddWidth", 3, 2, 4, false, B({3, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 1}), {"345", "121"}},
        // A picture without an end marker ends with its data.
        RleCase{"Rle8WithoutEnd", 2, 2, 8, false, B({2, 4, 0, 0, 1, 5}), {"5.", "44"}},
        // Pixels past the right edge are dropped and the row goes on to its
        // line end, as in rows padded to four bytes.
        RleCase{"Rle8RepeatPastRightEdge", 6, 2, 8, false, B({4, 1, 4, 2, 0, 0, 6, 3, 0, 1}), {"333333", "111122"}},
        RleCase{"Rle8AbsolutePastRightEdge", 3, 2, 8, false, B({0, 4, 1, 2, 3, 4, 0, 0, 2, 5, 2, 6, 0, 1}),
                {"556", "123"}},
        RleCase{"Rle4RepeatPastRightEdge", 5, 2, 4, false, B({6, 0x12, 0, 0, 5, 0x33, 0, 1}), {"33333", "12121"}},
        // A move out of the picture, or a run after its last row, ends the
        // decoding: nothing after it is drawn, nothing outside.
        RleCase{"Rle8MovePastRightEdge", 4, 2, 8, false, B({1, 1, 0, 2, 4, 0, 1, 2, 0, 0, 4, 3}), {"....", "1..."}},
        RleCase{"Rle8MovePastBottom", 4, 2, 8, false, B({1, 1, 0, 2, 0, 3, 1, 2, 0, 1}), {"....", "1..."}},
        RleCase{"Rle8LinesPastTop", 2, 2, 8, false, B({2, 1, 0, 0, 2, 2, 0, 0, 2, 3, 0, 0, 0, 2, 0, 0, 1, 4}),
                {"22", "11"}},
        RleCase{"Rle8EndsInsideAbsoluteRun", 4, 1, 8, false, B({0, 4, 1, 2}), {"12.."}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BmpRle, RefusesRunLengthOfTheOtherDepth) {
  const std::vector<uint32_t> palette = RlePalette();
  EXPECT_THROW(DecodeBmp(Bytes(MakeBmp({2, 1, 4, false, 40, 1, {}, palette, {}, B({2, 1, 0, 1})}))), TDecodeError);
  EXPECT_THROW(DecodeBmp(Bytes(MakeBmp({2, 1, 8, false, 40, 2, {}, palette, {}, B({2, 1, 0, 1})}))), TDecodeError);
}

// ---- dispatch and damaged data of every kind ----

std::vector<std::string> SamplesOfEveryKind() {
  return {EncodeJpeg(Pattern(9, 7, false)), EncodePng(Pattern(9, 7, true)),
          MakeGif(3, 2, 0, {0, 0, 3, 2, false, NO_TRANSPARENT_COLOR, {1, 2, 3, 0, 1, 2}}),
          MakeBmp({2, 1, 24, false, 40, 0, {}, {}, {B({1, 2, 3, 4, 5, 6})}})};
}

TEST(DecodePicture, DispatchesByContent) {
  const std::vector<std::string> samples = SamplesOfEveryKind();
  const TPictureKind kinds[] = {TPictureKind::Jpeg, TPictureKind::Png, TPictureKind::Gif, TPictureKind::Bmp};
  for (size_t i = 0; i < samples.size(); ++i) {
    EXPECT_EQ(PictureKindOf(Bytes(samples[i])), kinds[i]);
    EXPECT_FALSE(DecodePicture(Bytes(samples[i])).Empty());
  }
  EXPECT_EQ(PictureKindOf(Bytes("KX060697")), TPictureKind::Unknown);
  EXPECT_THROW(DecodePicture(Bytes("KX060697")), TDecodeError);
  EXPECT_THROW(DecodePictureFile("/nonexistent/picture.jpg"), TDecodeError);
}

// Every prefix and a byte flipped at every position: an exception or a
// picture, never a crash.
TEST(DecodePicture, DamagedDataNeverCrashes) {
  for (const std::string& sample : SamplesOfEveryKind()) {
    for (size_t n = 0; n < sample.size(); ++n) {
      try {
        (void)DecodePicture(Bytes(sample.substr(0, n)));
      } catch (const TDecodeError&) {
      }
      std::string flipped = sample;
      flipped[n] = char(flipped[n] ^ 0xA5);
      try {
        (void)DecodePicture(Bytes(flipped));
      } catch (const TDecodeError&) {
      }
    }
  }
}

// ---- the pixel budget, checked from the header before anything is allocated ----

void PutBigEndian32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + size_t(i)] = char(v >> (24 - 8 * i));
}
void PutLittleEndian(std::string& s, size_t at, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s[at + size_t(i)] = char(v >> (8 * i));
}

// The header of a small valid file of each kind patched to claim w x h; the
// pixel data stays that of the small picture.
std::string PngClaiming(uint32_t w, uint32_t h) {
  std::string png = EncodePng(Pattern(4, 3, true));
  PutBigEndian32(png, 16, w);  // IHDR: length, "IHDR", width, height, ...
  PutBigEndian32(png, 20, h);
  PutBigEndian32(png, 29, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17)));
  return png;
}
std::string GifClaiming(uint32_t screenW, uint32_t screenH, uint32_t frameW, uint32_t frameH) {
  std::string gif = MakeGif(3, 2, 0, {0, 0, 3, 2, false, NO_TRANSPARENT_COLOR, {1, 2, 3, 0, 1, 2}});
  PutLittleEndian(gif, 6, screenW, 2);
  PutLittleEndian(gif, 8, screenH, 2);
  const size_t frame = 13 + 4 * 3;  // after the screen descriptor and the four colours
  if (gif[frame] != ',') throw std::logic_error("GIF frame is not where expected");
  PutLittleEndian(gif, frame + 5, frameW, 2);
  PutLittleEndian(gif, frame + 7, frameH, 2);
  return gif;
}
std::string BmpClaiming(uint32_t w, uint32_t h) {
  std::string bmp = MakeBmp({2, 1, 24, false, 40, 0, {}, {}, {B({1, 2, 3, 4, 5, 6})}});
  PutLittleEndian(bmp, 18, w, 4);
  PutLittleEndian(bmp, 22, h, 4);
  return bmp;
}

struct BudgetCase {
  const char* name;
  std::string data;
  bool overBudget;
};

class PictureBudgetTest : public testing::TestWithParam<BudgetCase> {};

// PNG, GIF and BMP pictures above the budget are refused with an error that
// says so; at the budget the header passes (the small data then fails, or
// not, on its own account).
TEST_P(PictureBudgetTest, RefusesPicturesAboveTheBudget) {
  const BudgetCase& c = GetParam();
  std::string error;
  try {
    (void)DecodePicture(Bytes(c.data));
  } catch (const TDecodeError& e) {
    error = e.what();
  }
  EXPECT_EQ(error.find("larger than the limit of 33554432 pixels") != std::string::npos, c.overBudget) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Headers, PictureBudgetTest,
    testing::Values(BudgetCase{"Png16384x16384", PngClaiming(16384, 16384), true},
                    BudgetCase{"PngJustOver", PngClaiming(8192, 4097), true},
                    BudgetCase{"PngAtTheBudget", PngClaiming(8192, 4096), false},
                    BudgetCase{"Gif16384x16384", GifClaiming(16384, 16384, 16384, 16384), true},
                    BudgetCase{"GifSmallScreenHugeFrame", GifClaiming(3, 2, 16384, 16384), true},
                    BudgetCase{"GifHugeScreenSmallFrame", GifClaiming(8192, 4097, 3, 2), true},
                    BudgetCase{"GifAtTheBudget", GifClaiming(8192, 4096, 3, 2), false},
                    BudgetCase{"Bmp16384x16384", BmpClaiming(16384, 16384), true},
                    BudgetCase{"BmpJustOver", BmpClaiming(4097, 8192), true},
                    BudgetCase{"BmpAtTheBudget", BmpClaiming(4096, 8192), false}),
    [](const auto& info) { return std::string(info.param.name); });

// A JPEG above the budget decodes at the DCT scale that brings it under it,
// never at a smaller one than asked for; one above it even at 1/8 is refused.
TEST(JpegBudget, DecodesAtTheScaleThatFitsTheBudget) {
  const std::string jpeg = EncodeJpeg(Pattern(64, 48, false), 90);
  struct {
    int hint;
    int64_t maxPixels;
    int wantW, wantH;  // 0: refused
  } cases[] = {
      {1, 64 * 48, 64, 48}, {1, 64 * 48 - 1, 32, 24}, {1, 32 * 24, 32, 24}, {1, 32 * 24 - 1, 16, 12},
      {1, 8 * 6, 8, 6},     {1, 8 * 6 - 1, 0, 0},     {4, 64 * 48, 16, 12}, {2, 200, 16, 12},
  };
  for (const auto& c : cases) {
    if (c.wantW == 0) {
      EXPECT_THROW(DecodeJpeg(Bytes(jpeg), c.hint, c.maxPixels), TDecodeError) << c.maxPixels;
      continue;
    }
    const TBitmap32 b = DecodeJpeg(Bytes(jpeg), c.hint, c.maxPixels);
    EXPECT_EQ(b.Width(), c.wantW) << c.hint << " " << c.maxPixels;
    EXPECT_EQ(b.Height(), c.wantH) << c.hint << " " << c.maxPixels;
  }
}

// Headers of huge pictures over the data of a small one: decoded within the
// budget (the missing data comes out grey), or refused when even 1/8 is too large.
TEST(JpegBudget, HugeHeadersDecodeScaledOrAreRefused) {
  const std::string jpeg = EncodeJpeg(Pattern(16, 16, false), 90);
  const TBitmap32 quarter = DecodePicture(Bytes(kxtest::PatchJpegSize(jpeg, 16384, 16384)));
  EXPECT_EQ(quarter.Width(), 4096);
  EXPECT_EQ(quarter.Height(), 4096);
  const TBitmap32 half = DecodePicture(Bytes(kxtest::PatchJpegSize(jpeg, 8192, 4097)));
  EXPECT_EQ(half.Width(), 4096);
  EXPECT_EQ(half.Height(), 2049);
  try {
    (void)DecodePicture(Bytes(kxtest::PatchJpegSize(jpeg, 65000, 65000)));
    ADD_FAILURE() << "65000 x 65000 decoded";
  } catch (const TDecodeError& e) {
    EXPECT_NE(std::string(e.what()).find("too large even at 1/8 scale"), std::string::npos) << e.what();
  }
}

// A flat grey progressive JPEG of w x h, its last scan repeated until it has
// `scans` scans.
std::string ProgressiveGrayWithScans(int w, int h, int scans) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = JDIMENSION(w);
  c.image_height = JDIMENSION(h);
  c.input_components = 1;
  c.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&c);
  jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(size_t(w), 90);
  while (c.next_scanline < c.image_height) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  const int written = c.num_scans;
  jpeg_destroy_compress(&c);
  std::string jpeg(reinterpret_cast<char*>(out), size);
  free(out);
  const size_t last = jpeg.rfind("\xFF\xDA");
  const std::string scan = jpeg.substr(last, jpeg.size() - 2 - last);
  jpeg.resize(jpeg.size() - 2);  // the end marker goes back after the copies
  for (int i = written; i < scans; ++i) jpeg += scan;
  return jpeg + "\xFF\xD9";
}

// Every scan is a pass over the whole picture at its full size: a large
// picture may have fewer of them than a small one, so a small file cannot
// ask for minutes of decoding.
TEST(JpegBudget, ScansOverLargePicturesAreLimited) {
  // 256 x 256: the general limit of 500 scans.
  EXPECT_EQ(DecodeJpeg(Bytes(ProgressiveGrayWithScans(256, 256, 500))).Width(), 256);
  EXPECT_THROW(DecodeJpeg(Bytes(ProgressiveGrayWithScans(256, 256, 501))), TDecodeError);
  // 8192 x 4096, the pixel budget: 64 passes.
  const std::string large = ProgressiveGrayWithScans(16, 16, 65);
  try {
    (void)DecodeJpeg(Bytes(kxtest::PatchJpegSize(large, 8192, 4096)), 8);
    ADD_FAILURE() << "65 scans over 8192 x 4096 decoded";
  } catch (const TDecodeError& e) {
    EXPECT_NE(std::string(e.what()).find("more than 64 scans"), std::string::npos) << e.what();
  }
}

}  // namespace
