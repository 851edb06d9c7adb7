// Photos show upright: the Exif orientation reader, the eight turns, and JPEGs
// of every orientation decoded as still pictures, at full size and DCT-scaled.
// Damaged Exif data of every kind reads as upright and never reads outside
// its segment.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "raster/uExifOrientation.h"
#include "raster/uJpegCodec.h"
#include "raster/uOrient.h"
#include "raster/uStillPicture.h"

using namespace kx;

namespace {

using TBytes = std::vector<uint8_t>;

std::span<const uint8_t> Bytes(const TBytes& b) { return {b.data(), b.size()}; }

void Put16(TBytes& out, uint32_t v, bool big) {
  if (big) out.insert(out.end(), {uint8_t(v >> 8), uint8_t(v)});
  else out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)});
}

void Put32(TBytes& out, uint32_t v, bool big) {
  Put16(out, big ? v >> 16 : v & 0xFFFF, big);
  Put16(out, big ? v & 0xFFFF : v >> 16, big);
}

struct TEntry {
  uint16_t Tag, Type;
  uint32_t Count, Value;  // a SHORT value sits in the first two bytes
};

// The TIFF structure of an Exif segment: header, then one IFD at ifdOffset
// (8 when right after the header, zeros between) with the given entries and
// next-IFD offset; count overrides the entry count.
TBytes Tiff(const std::vector<TEntry>& entries, bool big = false, uint32_t ifdOffset = 8, uint32_t next = 0,
            uint32_t count = UINT32_MAX) {
  TBytes t = big ? TBytes{'M', 'M'} : TBytes{'I', 'I'};
  Put16(t, 42, big);
  Put32(t, ifdOffset, big);
  if (ifdOffset > 8) t.resize(ifdOffset, 0);
  Put16(t, count == UINT32_MAX ? uint32_t(entries.size()) : count, big);
  for (const TEntry& e : entries) {
    Put16(t, e.Tag, big);
    Put16(t, e.Type, big);
    Put32(t, e.Count, big);
    if (e.Type == 3) {
      Put16(t, e.Value, big);
      Put16(t, 0, big);
    } else {
      Put32(t, e.Value, big);
    }
  }
  Put32(t, next, big);
  return t;
}

TEntry OrientationEntry(uint32_t value) { return {0x0112, 3, 1, value}; }

// An APP1 segment holding "Exif\0\0" and tiff; length overrides the length field.
TBytes App1(const TBytes& tiff, int length = -1) {
  TBytes s{0xFF, 0xE1};
  Put16(s, length >= 0 ? uint32_t(length) : uint32_t(2 + 6 + tiff.size()), true);
  s.insert(s.end(), {'E', 'x', 'i', 'f', 0, 0});
  s.insert(s.end(), tiff.begin(), tiff.end());
  return s;
}

// jpeg with segment inserted right after its start marker, as cameras write it.
TBytes Spliced(const std::string& jpeg, const TBytes& segment) {
  TBytes out(jpeg.begin(), jpeg.begin() + 2);
  out.insert(out.end(), segment.begin(), segment.end());
  out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
  return out;
}

const std::string& SmallJpeg() {
  static const std::string jpeg = EncodeJpeg(TBitmap32(8, 8, MakePixel(90, 90, 90)));
  return jpeg;
}

// ---- The eight orientations ----

// The upright picture is two rows of four blocks, A B C D over E F G H; each
// case is the picture as a camera stores it under that orientation.
constexpr const char* kUpright[] = {"ABCD", "EFGH"};
struct TStoredCase {
  int Orientation;
  std::vector<const char*> Rows;
};
const TStoredCase kStored[] = {
    {1, {"ABCD", "EFGH"}},
    {2, {"DCBA", "HGFE"}},              // mirrored left to right
    {3, {"HGFE", "DCBA"}},              // upside down
    {4, {"EFGH", "ABCD"}},              // mirrored top to bottom
    {5, {"AE", "BF", "CG", "DH"}},      // mirrored along the main diagonal
    {6, {"DH", "CG", "BF", "AE"}},      // first row is the right edge: turn clockwise
    {7, {"HD", "GC", "FB", "EA"}},      // mirrored along the other diagonal
    {8, {"EA", "FB", "GC", "HD"}},      // first row is the left edge, bottom up: turn anticlockwise
};

TPixel BlockColour(char c) {
  static const TPixel colours[] = {
      MakePixel(230, 20, 20),  MakePixel(20, 200, 20),   MakePixel(20, 20, 230),  MakePixel(230, 230, 20),
      MakePixel(20, 220, 220), MakePixel(220, 20, 220), MakePixel(240, 240, 240), MakePixel(10, 10, 10),
  };
  return colours[c - 'A'];
}

// The block picture of rows, each block side x side pixels.
TBitmap32 Blocks(const std::vector<const char*>& rows, int side) {
  const int w = int(std::string(rows[0]).size()), h = int(rows.size());
  TBitmap32 b(w * side, h * side);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, BlockColour(rows[size_t(y / side)][x / side]));
  return b;
}

// Each block's centre matches the upright picture within tolerance per channel.
void ExpectUprightBlocks(const TBitmap32& got, int side, int tolerance, int orientation) {
  ASSERT_EQ(got.Width(), 4 * side) << orientation;
  ASSERT_EQ(got.Height(), 2 * side) << orientation;
  for (int by = 0; by < 2; ++by)
    for (int bx = 0; bx < 4; ++bx) {
      const TPixel p = got.Pixel(bx * side + side / 2, by * side + side / 2), want = BlockColour(kUpright[by][bx]);
      EXPECT_NEAR(PixelR(p), PixelR(want), tolerance) << orientation << " block " << kUpright[by][bx];
      EXPECT_NEAR(PixelG(p), PixelG(want), tolerance) << orientation << " block " << kUpright[by][bx];
      EXPECT_NEAR(PixelB(p), PixelB(want), tolerance) << orientation << " block " << kUpright[by][bx];
    }
}

TBytes OrientedJpeg(const TStoredCase& c, int side, bool big) {
  return Spliced(EncodeJpeg(Blocks(c.Rows, side), 95), App1(Tiff({OrientationEntry(uint32_t(c.Orientation))}, big)));
}

TEST(Orient, EveryOrientationTurnsTheStoredPictureUprightExactly) {
  // One pixel per block: an odd width shows any pixel off by one.
  for (const TStoredCase& c : kStored) {
    const TBitmap32 upright = Orient(Blocks(c.Rows, 1), c.Orientation);
    EXPECT_EQ(upright, Blocks({kUpright[0], kUpright[1]}, 1)) << c.Orientation;
  }
  const TBitmap32 odd = Blocks({"ABC", "DEF"}, 1);
  EXPECT_EQ(Orient(odd, 6), Blocks({"DA", "EB", "FC"}, 1));
  for (int outside : {0, 9, -1, 1000}) EXPECT_EQ(Orient(odd, outside), odd) << outside;
  EXPECT_TRUE(Orient(TBitmap32(), 6).Empty());
}

TEST(StillPicture, JpegsOfEveryOrientationDecodeUpright) {
  // 16-pixel blocks keep each colour whole through 4:2:0 sampling; the
  // tolerance covers JPEG's rounding of flat blocks at quality 95.
  for (bool big : {false, true})
    for (const TStoredCase& c : kStored) {
      const TBytes jpeg = OrientedJpeg(c, 16, big);
      EXPECT_EQ(JpegExifOrientation(Bytes(jpeg)), c.Orientation) << c.Orientation << (big ? " MM" : " II");
      EXPECT_EQ(StillJpegSize(Bytes(jpeg)), (TPoint{64, 32})) << c.Orientation;
      ExpectUprightBlocks(DecodeStillPicture(Bytes(jpeg)), 16, 24, c.Orientation);
    }
}

TEST(StillPicture, DctScaledJpegsAreTurnedAfterScaling) {
  // The cover is the upright size asked for: 16 x 8 of a 64 x 32 upright
  // picture is a quarter in each direction, whichever way it is stored.
  for (const TStoredCase& c : kStored) {
    const TBytes jpeg = OrientedJpeg(c, 32, false);
    ExpectUprightBlocks(DecodeStillPicture(Bytes(jpeg), TPoint{32, 16}), 8, 24, c.Orientation);
  }
  // A tall cover over a turned picture (stored 64 x 128, upright 128 x 64):
  // only the full size covers 64 rows, where the stored size would take half.
  const TBytes turned = OrientedJpeg(kStored[5], 32, false);
  const TBitmap32 b = DecodeStillPicture(Bytes(turned), TPoint{32, 64});
  EXPECT_EQ(b.Width(), 128);
  EXPECT_EQ(b.Height(), 64);
}

TEST(StillPicture, OtherPicturesAndPlainJpegsDecodeAsBefore) {
  const TBitmap32 stored = Blocks({"ABCD", "EFGH"}, 16);
  const std::string plain = EncodeJpeg(stored, 95);
  const std::span data(reinterpret_cast<const uint8_t*>(plain.data()), plain.size());
  EXPECT_EQ(DecodeStillPicture(data), DecodeJpeg(data));
  EXPECT_EQ(DecodeStillPicture(data, TPoint{16, 8}), DecodeJpeg(data, 4));
  EXPECT_EQ(JpegExifOrientation(data), 1);
  EXPECT_EQ(StillJpegSize(data.first(100)), std::nullopt);
}

// ---- Damaged and hostile Exif data ----

TEST(ExifOrientation, DamagedDataReadsAsUpright) {
  const bool little = false;
  // The orientation entry lies in the bytes after the segment, which only a
  // reader ignoring the segment's end would find.
  TBytes beyondSegment;
  {
    TBytes tiff = Tiff({{0x0100, 3, 1, 64}}, little, 8, 0, 2);
    tiff.resize(tiff.size() - 4);  // the second entry would follow here
    beyondSegment = App1(tiff);
    const TBytes past = Tiff({OrientationEntry(6)});
    beyondSegment.insert(beyondSegment.end(), past.begin() + 10, past.begin() + 22);
  }
  // An IFD whose next-IFD offset is itself, and one at an offset far outside.
  const TBytes loop = App1(Tiff({{0x0100, 3, 1, 64}, {0x0101, 3, 1, 32}}, little, 8, 8));
  TBytes farTiff = Tiff({OrientationEntry(6)});
  farTiff[4] = farTiff[5] = farTiff[6] = 0xFF;  // the IFD at 0xFFFFFF08
  const TBytes farIfd = App1(farTiff);
  // A segment that claims the largest length and an IFD of 65535 entries,
  // then 1 MB of entries with the orientation at the very end.
  TBytes huge;
  {
    TBytes tiff = Tiff({}, little, 8, 0, 0xFFFF);
    tiff.resize(tiff.size() - 4);
    tiff.reserve(tiff.size() + (1 << 20) + 12);
    for (int i = 0; i < (1 << 20) / 12; ++i) {
      Put16(tiff, uint16_t(0x8000 + i % 100), little);
      Put16(tiff, 4, little);
      Put32(tiff, 1, little);
      Put32(tiff, uint32_t(i), little);
    }
    const TBytes last = Tiff({OrientationEntry(6)});
    tiff.insert(tiff.end(), last.begin() + 10, last.begin() + 22);
    huge = App1(tiff, 0xFFFF);
  }
  const struct {
    const char* name;
    TBytes segment;
  } cases[] = {
      {"value 0", App1(Tiff({OrientationEntry(0)}))},
      {"value 9", App1(Tiff({OrientationEntry(9)}))},
      {"value 65535", App1(Tiff({OrientationEntry(0xFFFF)}))},
      {"a LONG tag", App1(Tiff({{0x0112, 4, 1, 6}}))},
      {"count 0", App1(Tiff({{0x0112, 3, 0, 6}}))},
      {"no orientation tag", App1(Tiff({{0x0100, 3, 1, 64}}))},
      {"bad byte order", [] { TBytes t = Tiff({OrientationEntry(6)}); t[0] = t[1] = 'X'; return App1(t); }()},
      {"not 42", [] { TBytes t = Tiff({OrientationEntry(6)}); t[2] = 43; return App1(t); }()},
      {"no Exif header", [] { TBytes s = App1(Tiff({OrientationEntry(6)})); s[4] = 'e'; return s; }()},
      {"not APP1", [] { TBytes s = App1(Tiff({OrientationEntry(6)})); s[1] = 0xE2; return s; }()},
      {"entry beyond the segment", beyondSegment},
      {"IFD offset past the end", farIfd},
      {"IFD loop", loop},
      {"1 MB of entries", huge},
      {"segment longer than the file", App1(Tiff({OrientationEntry(6)}), 0xFFF0)},
      {"segment length 0", App1(Tiff({OrientationEntry(6)}), 0)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JpegExifOrientation(Bytes(Spliced("\xFF\xD8", c.segment))), 1) << c.name;
    // Still decodes, upright as stored (libjpeg skips the segment).
    if (c.segment.size() < 0x10000) {
      const TBytes jpeg = Spliced(SmallJpeg(), c.segment);
      if (std::string(c.name).starts_with("segment")) continue;  // breaks the stream itself
      EXPECT_EQ(DecodeStillPicture(Bytes(jpeg)).Width(), 8) << c.name;
    }
  }
}

TEST(ExifOrientation, CutAnywhereReadsAsUprightNeverOutside) {
  for (bool big : {false, true}) {
    const TBytes segment = App1(Tiff({{0x0100, 3, 1, 64}, OrientationEntry(6)}, big));
    const TBytes jpeg = Spliced("\xFF\xD8", segment);
    EXPECT_EQ(JpegExifOrientation(Bytes(jpeg)), 6);
    // Each prefix is copied alone, so reading past its end is caught by ASan.
    for (size_t n = 0; n < jpeg.size(); ++n) {
      const TBytes cut(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(n));
      EXPECT_EQ(JpegExifOrientation(Bytes(cut)), 1) << n;
    }
    // The TIFF data cut short inside a whole segment: the length field agrees.
    const TBytes tiff = Tiff({{0x0100, 3, 1, 64}, OrientationEntry(6)}, big);
    for (size_t n = 0; n < tiff.size(); ++n) {
      const TBytes cut(tiff.begin(), tiff.begin() + std::ptrdiff_t(n));
      EXPECT_EQ(JpegExifOrientation(Bytes(Spliced("\xFF\xD8", App1(cut)))), n >= 34 ? 6 : 1) << n;
    }
  }
}

TEST(ExifOrientation, FoundAmongOtherSegmentsBeforeThePicture) {
  const TBytes exif = App1(Tiff({OrientationEntry(8)}, true));
  // After the encoder's own APP0, fill bytes and another APP1 that is not Exif.
  TBytes other{0xFF, 0xE1, 0x00, 0x06, 'h', 't', 't', 'p'};
  other.insert(other.end(), {0xFF, 0xFF});
  other.insert(other.end(), exif.begin(), exif.end());
  const std::string jpeg = SmallJpeg();
  TBytes stream(jpeg.begin(), jpeg.begin() + 20);  // SOI and the 16-byte APP0
  ASSERT_EQ(stream[3], 0xE0);
  stream.insert(stream.end(), other.begin(), other.end());
  stream.insert(stream.end(), jpeg.begin() + 20, jpeg.end());
  EXPECT_EQ(JpegExifOrientation(Bytes(stream)), 8);
  EXPECT_EQ(DecodeStillPicture(Bytes(stream)).Width(), 8);
  // Exif after the picture data is not looked for.
  TBytes late(jpeg.begin(), jpeg.end() - 2);
  late.insert(late.end(), exif.begin(), exif.end());
  late.insert(late.end(), {0xFF, 0xD9});
  EXPECT_EQ(JpegExifOrientation(Bytes(late)), 1);
  // Not a JPEG at all.
  EXPECT_EQ(JpegExifOrientation(Bytes(TBytes{'G', 'I', 'F', '8', '9', 'a'})), 1);
  EXPECT_EQ(JpegExifOrientation({}), 1);
}

}  // namespace
