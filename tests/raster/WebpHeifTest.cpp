// WebP, HEIC and AVIF pictures made here by Debian's own encoders (cwebp and
// img2webp from "webp", heif-enc from "libheif-examples") from pictures this
// test draws, decoded back to the pixels drawn: exactly for lossless files,
// within a stated tolerance for lossy ones. A missing encoder skips its case
// with a message, and so does a build without the format's library.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "os/uRunProgram.h"
#include "raster/uDecodeError.h"
#include "raster/uOrient.h"
#include "raster/uPictureDecode.h"
#include "raster/uPictureSize.h"
#include "raster/uPngIO.h"
#include "raster/uStillPicture.h"
#include "support/TestSupport.h"

using namespace kx;

namespace {

std::span<const uint8_t> Bytes(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

const TPixel kRed = MakePixel(220, 30, 30), kGreen = MakePixel(30, 200, 40), kBlue = MakePixel(30, 40, 220),
             kWhite = MakePixel(240, 240, 240);

// Four flat quadrants of side x side pixels: red, green above blue, white.
TBitmap32 Quadrants(int side) {
  TBitmap32 b(2 * side, 2 * side);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      b.SetPixel(x, y, y < side ? (x < side ? kRed : kGreen) : (x < side ? kBlue : kWhite));
  return b;
}

// Every pixel different, with alpha from nearly clear through half to opaque
// (none quite clear: a lossless coder may change the colour under a clear pixel).
TBitmap32 Gradient(int w, int h, bool alpha) {
  TBitmap32 b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixel(x, y,
                 MakePixel(uint8_t(x * 255 / (w - 1)), uint8_t(y * 255 / (h - 1)), uint8_t((x * 7 + y * 13) % 256),
                           alpha ? uint8_t(1 + (x + y * w) * 254 / (w * h - 1)) : 255));
  return b;
}

// Runs an encoder; a skip message when it is not installed.
std::optional<std::string> Encode(const std::vector<std::string>& argv) {
  const TProgramResult r = RunProgram(argv, false, 60000);
  if (!r.Started)
    return argv[0] + " is not installed (Debian: " + (argv[0] == "heif-enc" ? "libheif-examples" : "webp") +
           "): case skipped";
  EXPECT_TRUE(r.Succeeded()) << argv[0] << " failed";
  return std::nullopt;
}

// The pixel at the centre of each quadrant's inner half, against the drawn
// colour, within tolerance per channel (edges between colours blur in a lossy coder).
void ExpectQuadrants(const TBitmap32& got, int side, int tolerance, const std::string& name) {
  ASSERT_EQ(got.Width(), 2 * side) << name;
  ASSERT_EQ(got.Height(), 2 * side) << name;
  const TBitmap32 want = Quadrants(side);
  int worst = 0;
  for (int y = 0; y < got.Height(); ++y)
    for (int x = 0; x < got.Width(); ++x) {
      if (x % side < side / 4 || x % side >= side * 3 / 4 || y % side < side / 4 || y % side >= side * 3 / 4) continue;
      const TPixel p = got.Pixel(x, y), w = want.Pixel(x, y);
      worst = std::max(
          {worst, std::abs(PixelR(p) - PixelR(w)), std::abs(PixelG(p) - PixelG(w)), std::abs(PixelB(p) - PixelB(w))});
      ASSERT_EQ(PixelA(p), 255) << name;
    }
  EXPECT_LE(worst, tolerance) << name;
}

void ExpectDeclaredSize(const std::string& data, const TBitmap32& decoded, const std::string& name) {
  const std::optional<TPictureSize> size = DeclaredPictureSize(Bytes(data));
  ASSERT_TRUE(size) << name;
  EXPECT_EQ(size->Width, decoded.Width()) << name;
  EXPECT_EQ(size->Height, decoded.Height()) << name;
}

std::string DecodeError(const std::string& data) {
  try {
    (void)DecodePicture(Bytes(data));
  } catch (const TDecodeError& e) {
    return e.what();
  }
  return "";
}

// ---- HEIF box surgery: a file's primary picture given transform properties ----

uint32_t Get(const std::string& s, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = v << 8 | uint8_t(s.at(at + size_t(i)));
  return v;
}
void Put(std::string& s, size_t at, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s.at(at + size_t(i)) = char(v >> (8 * (bytes - 1 - i)));
}

// The child box of type in [from, to); npos when there is none.
size_t FindBox(const std::string& s, size_t from, size_t to, const char* type) {
  for (size_t at = from; at + 8 <= to; at += Get(s, at, 4)) {
    if (s.compare(at + 4, 4, type) == 0) return at;
    if (Get(s, at, 4) < 8) break;
  }
  return std::string::npos;
}

// Each property box (e.g. "irot" with its one byte) is added to "ipco" and
// associated, essential, with the primary picture after its own properties,
// in the order given; every size that holds them and every file offset of
// "iloc" past them follows.
std::string WithProperties(std::string heif, const std::vector<std::string>& properties) {
  const size_t meta = FindBox(heif, 0, heif.size(), "meta");
  const size_t metaEnd = meta + Get(heif, meta, 4);
  const size_t pitm = FindBox(heif, meta + 12, metaEnd, "pitm");
  const uint32_t primary = Get(heif, pitm + 8, 1) == 0 ? Get(heif, pitm + 12, 2) : Get(heif, pitm + 12, 4);
  const size_t iprp = FindBox(heif, meta + 12, metaEnd, "iprp");
  const size_t ipco = FindBox(heif, iprp + 8, iprp + Get(heif, iprp, 4), "ipco");
  const size_t ipma = FindBox(heif, iprp + 8, iprp + Get(heif, iprp, 4), "ipma");
  const size_t iloc = FindBox(heif, meta + 12, metaEnd, "iloc");
  if (pitm == std::string::npos || ipco == std::string::npos || ipma == std::string::npos ||
      iloc == std::string::npos || ipma < ipco || iloc > ipco)
    throw std::logic_error("HEIF boxes are not where expected");
  std::string added;
  for (const std::string& p : properties) added += p;
  int count = 0;
  for (size_t at = ipco + 8; at < ipco + Get(heif, ipco, 4); at += Get(heif, at, 4)) ++count;
  // The associations, one byte each (index with the essential bit) unless
  // the box's flags say two.
  const int ipmaVersion = int(Get(heif, ipma + 8, 1));
  const bool wide = (Get(heif, ipma + 8, 4) & 1) != 0;
  std::string links;
  for (size_t i = 0; i < properties.size(); ++i) {
    const uint32_t index = uint32_t(count) + 1 + uint32_t(i);
    links += wide ? std::string{char(0x80 | index >> 8), char(index)} : std::string(1, char(0x80 | index));
  }
  size_t at = ipma + 16, entry = std::string::npos;
  for (uint32_t n = Get(heif, ipma + 12, 4); n > 0; --n) {
    const int idBytes = ipmaVersion < 1 ? 2 : 4;
    const uint32_t id = Get(heif, at, idBytes);
    const size_t countAt = at + size_t(idBytes);
    at = countAt + 1 + Get(heif, countAt, 1) * (wide ? 2 : 1);
    if (id == primary) {
      entry = countAt;
      Put(heif, countAt, Get(heif, countAt, 1) + properties.size(), 1);
      break;
    }
  }
  if (entry == std::string::npos) throw std::logic_error("the primary picture has no properties");
  const size_t grown = added.size() + links.size();
  // Offsets into the file (construction method 0) past the insertion move.
  const int ilocVersion = int(Get(heif, iloc + 8, 1));
  const int offsetSize = int(Get(heif, iloc + 12, 1) >> 4), lengthSize = int(Get(heif, iloc + 12, 1) & 15);
  const int baseSize = int(Get(heif, iloc + 13, 1) >> 4),
            indexSize = ilocVersion ? int(Get(heif, iloc + 13, 1) & 15) : 0;
  at = iloc + 14;
  const int countBytes = ilocVersion < 2 ? 2 : 4;  // of the item count and of each item's id
  uint32_t items = Get(heif, at, countBytes);
  for (at += size_t(countBytes); items > 0; --items) {
    at += size_t(countBytes);
    uint32_t method = 0;
    if (ilocVersion) method = Get(heif, at, 2) & 15, at += 2;
    at += 2;  // the data reference
    const size_t base = at;
    at += size_t(baseSize);
    const uint32_t extents = Get(heif, at, 2);
    at += 2;
    if (method == 0 && baseSize > 0) Put(heif, base, Get(heif, base, baseSize) + grown, baseSize);
    for (uint32_t e = 0; e < extents; ++e) {
      at += size_t(indexSize);
      if (method == 0 && baseSize == 0) Put(heif, at, Get(heif, at, offsetSize) + grown, offsetSize);
      at += size_t(offsetSize + lengthSize);
    }
  }
  // From the back: the associations, then the properties, then the sizes of
  // the boxes that hold them (all of which start before both).
  const size_t oldLinks = (Get(heif, entry, 1) - properties.size()) * (wide ? 2 : 1);
  heif.insert(entry + 1 + oldLinks, links);
  Put(heif, ipma, Get(heif, ipma, 4) + links.size(), 4);
  heif.insert(ipco + Get(heif, ipco, 4), added);
  Put(heif, ipco, Get(heif, ipco, 4) + added.size(), 4);
  for (size_t box : {iprp, meta}) Put(heif, box, Get(heif, box, 4) + grown, 4);
  return heif;
}

std::string Property(const char* type, uint8_t value) { return std::string("\0\0\0\x09", 4) + type + char(value); }

}  // namespace

// ---- WebP ----

TEST(Webp, LosslessLossyAndAnimatedDecodeToTheirPixels) {
  if (!PictureKindBuiltIn(TPictureKind::Webp)) GTEST_SKIP() << "WebP is not built into this program";
  const kxtest::TScratchDir dir;
  WritePng(dir / "gradient.png", Gradient(13, 7, true));
  WritePng(dir / "quadrants.png", Quadrants(16));
  WritePng(dir / "second.png", TBitmap32(13, 7, MakePixel(1, 2, 3)));
  struct Case {
    const char* name;
    std::vector<std::string> encode;
    std::string file;
  } cases[] = {
      {"lossless", {"cwebp", "-quiet", "-lossless", "-exact", dir / "gradient.png", "-o", dir / "l.webp"}, "l.webp"},
      {"lossy", {"cwebp", "-quiet", "-q", "90", dir / "quadrants.png", "-o", dir / "q.webp"}, "q.webp"},
      {"animated",
       {"img2webp", "-lossless", dir / "gradient.png", "-d", "100", dir / "second.png", "-o", dir / "a.webp"},
       "a.webp"},
  };
  for (const Case& c : cases) {
    if (const auto skipped = Encode(c.encode)) {
      std::cout << *skipped << "\n";
      continue;
    }
    const std::string webp = kxtest::ReadFile(dir / c.file);
    ASSERT_EQ(PictureKindOf(Bytes(webp)), TPictureKind::Webp) << c.name;
    const TBitmap32 decoded = DecodePicture(Bytes(webp));
    ExpectDeclaredSize(webp, decoded, c.name);
    if (std::string(c.name) == "lossy") {
      // Flat quadrants at quality 90: at most 6 levels off away from the edges (3 measured).
      ExpectQuadrants(decoded, 16, 6, c.name);
    } else {
      EXPECT_EQ(decoded, Gradient(13, 7, true)) << c.name;  // exact, alpha included; the first frame only
    }
  }
}

// Cut short anywhere (the last byte, half the file, all but the header):
// refused, never a picture of garbage; the header alone still tells the size.
TEST(Webp, TruncatedFilesAreRefused) {
  if (!PictureKindBuiltIn(TPictureKind::Webp)) GTEST_SKIP() << "WebP is not built into this program";
  const kxtest::TScratchDir dir;
  WritePng(dir / "quadrants.png", Quadrants(16));
  WritePng(dir / "other.png", Quadrants(16));
  const std::vector<std::vector<std::string>> encodes = {
      {"cwebp", "-quiet", "-q", "80", dir / "quadrants.png", "-o", dir / "a.webp"},
      {"cwebp", "-quiet", "-lossless", dir / "quadrants.png", "-o", dir / "b.webp"},
      {"img2webp", "-lossy", dir / "quadrants.png", dir / "other.png", "-o", dir / "c.webp"},
  };
  for (const auto& encode : encodes) {
    if (const auto skipped = Encode(encode)) {
      std::cout << *skipped << "\n";
      continue;
    }
    const std::string webp = kxtest::ReadFile(encode.back());
    for (size_t keep : {webp.size() - 1, webp.size() / 2, size_t(40), size_t(20), size_t(12)}) {
      const std::string cut = webp.substr(0, keep);
      EXPECT_FALSE(DecodeError(cut).empty()) << encode.back() << " cut to " << keep;
    }
  }
}

// A lossless header of a few bytes may claim up to 16384 x 16384 pixels:
// refused by the budget before anything is allocated.
TEST(Webp, HugeClaimsAreRefusedBeforeDecoding) {
  if (!PictureKindBuiltIn(TPictureKind::Webp)) GTEST_SKIP() << "WebP is not built into this program";
  // RIFF, "WEBP", a "VP8L" chunk: the signature byte, then 14 bits of width - 1,
  // 14 of height - 1, the alpha bit and a 3-bit version, and no picture data.
  auto claiming = [](uint32_t w, uint32_t h) {
    const uint32_t bits = (w - 1) | (h - 1) << 14;
    std::string s = std::string("RIFF\x1a\0\0\0WEBPVP8L\x0d\0\0\0\x2f", 21);
    for (int i = 0; i < 4; ++i) s += char(bits >> (8 * i));
    return s + std::string(9, '\0');
  };
  EXPECT_NE(DecodeError(claiming(16384, 16384)).find("larger than the limit of 33554432 pixels"), std::string::npos);
  EXPECT_NE(DecodeError(claiming(8192, 4097)).find("larger than the limit"), std::string::npos);
  const std::string atBudget = DecodeError(claiming(8192, 4096));
  EXPECT_FALSE(atBudget.empty());
  EXPECT_EQ(atBudget.find("larger than the limit"), std::string::npos) << atBudget;
  const std::optional<TPictureSize> size = DeclaredPictureSize(Bytes(claiming(16384, 16384)));
  ASSERT_TRUE(size);
  EXPECT_EQ(size->Pixels(), int64_t(16384) * 16384);
}

// ---- PNG and WebP alpha, composed over black for the show ----

TEST(StillPicture, AlphaIsComposedOverBlack) {
  const TBitmap32 source = Gradient(13, 7, true);
  TBitmap32 overBlack = source;
  for (int y = 0; y < overBlack.Height(); ++y)
    for (int x = 0; x < overBlack.Width(); ++x) {
      const TPixel p = source.Pixel(x, y);
      auto over = [&](uint8_t c) { return uint8_t((c * PixelA(p) + 127) / 255); };
      overBlack.SetPixel(x, y, MakePixel(over(PixelR(p)), over(PixelG(p)), over(PixelB(p))));
    }
  std::vector<std::pair<std::string, std::string>> files = {{"png", EncodePng(source)}};
  const kxtest::TScratchDir dir;
  WritePng(dir / "a.png", source);
  if (!PictureKindBuiltIn(TPictureKind::Webp)) {
    std::cout << "WebP is not built into this program: its case skipped\n";
  } else if (const auto skipped =
                 Encode({"cwebp", "-quiet", "-lossless", "-exact", dir / "a.png", "-o", dir / "a.webp"})) {
    std::cout << *skipped << "\n";
  } else {
    files.push_back({"webp", kxtest::ReadFile(dir / "a.webp")});
  }
  for (const auto& [name, data] : files) {
    EXPECT_EQ(DecodePicture(Bytes(data)), source) << name;  // the picture's own alpha
    EXPECT_EQ(DecodeStillPicture(Bytes(data)), overBlack) << name;
  }
}

// ---- HEIC and AVIF ----

struct THeifKind {
  const char* name;
  TPictureKind kind;
  std::vector<std::string> options;  // heif-enc's, besides quality and files
};
const THeifKind kHeifKinds[] = {{"heic", TPictureKind::Heic, {}}, {"avif", TPictureKind::Avif, {"-A"}}};

// The quadrants encoded by heif-enc at quality 90; nullopt (and a message)
// when the kind is not built in or the encoder is missing.
std::optional<std::string> HeifQuadrants(const kxtest::TScratchDir& dir, const THeifKind& k, int side) {
  if (!PictureKindBuiltIn(k.kind)) {
    std::cout << k.name << " is not built into this program: case skipped\n";
    return std::nullopt;
  }
  WritePng(dir / "quadrants.png", Quadrants(side));
  std::vector<std::string> argv = {"heif-enc", "-q", "90"};
  argv.insert(argv.end(), k.options.begin(), k.options.end());
  const std::string out = dir / (std::string("q.") + k.name);
  argv.insert(argv.end(), {dir / "quadrants.png", "-o", out});
  if (const auto skipped = Encode(argv)) {
    std::cout << *skipped << "\n";
    return std::nullopt;
  }
  return kxtest::ReadFile(out);
}

TEST(Heif, HeicAndAvifDecodeToTheirPixels) {
  for (const THeifKind& k : kHeifKinds) {
    const kxtest::TScratchDir dir;
    const std::optional<std::string> heif = HeifQuadrants(dir, k, 16);
    if (!heif) continue;
    EXPECT_EQ(PictureKindOf(Bytes(*heif)), k.kind) << k.name;
    const TBitmap32 decoded = DecodePicture(Bytes(*heif));
    ExpectDeclaredSize(*heif, decoded, k.name);
    // Flat quadrants at quality 90, 4:2:0 and the YCbCr round trip: at most
    // 4 levels off away from the edges (1 measured with x265 and aom).
    ExpectQuadrants(decoded, 16, 4, k.name);
    EXPECT_EQ(DecodeStillPicture(Bytes(*heif)), decoded) << k.name;  // opaque already
  }
}

// The file's own rotation (irot, anticlockwise quarter turns) turns the
// picture as the Exif orientation of the same meaning turns a JPEG, and its
// mirroring (imir) mirrors it; the size declared for budgets is the upright
// one. Which way imir's axis 0 mirrors is the library's reading (libheif 1.15
// flips top to bottom, where the standard's text reads as a vertical axis):
// either mirror passes, nothing else does.
TEST(Heif, RotationAndMirroringOfTheFileDecodeUpright) {
  const struct {
    const char* name;
    std::vector<std::string> properties;
    std::vector<int> orientations;  // the Exif orientations that mean the same
  } cases[] = {
      {"quarter turn anticlockwise", {Property("irot", 1)}, {8}},
      {"half turn", {Property("irot", 2)}, {3}},
      {"quarter turn clockwise", {Property("irot", 3)}, {6}},
      {"mirrored on axis 0", {Property("imir", 0)}, {2, 4}},
      {"mirrored on axis 1", {Property("imir", 1)}, {2, 4}},
      {"turned, then mirrored", {Property("irot", 1), Property("imir", 1)}, {5, 7}},
  };
  for (const THeifKind& k : kHeifKinds) {
    const kxtest::TScratchDir dir;
    // 32 x 32 in four colours: every turn and mirror gives another picture.
    const std::optional<std::string> heif = HeifQuadrants(dir, k, 16);
    if (!heif) continue;
    const TBitmap32 stored = DecodePicture(Bytes(*heif));
    std::vector<int> mirrors;
    for (const auto& c : cases) {
      const std::string turned = WithProperties(*heif, c.properties);
      const TBitmap32 upright = DecodePicture(Bytes(turned));
      // The same coded pixels, so exactly the stored picture turned.
      int meaning = 0;
      for (int o : c.orientations)
        if (upright == Orient(stored, o)) meaning = o;
      EXPECT_NE(meaning, 0) << k.name << ": " << c.name;
      if (c.properties.size() == 1 && c.orientations.size() == 2) mirrors.push_back(meaning);
      ExpectDeclaredSize(turned, upright, std::string(k.name) + ": " + c.name);
    }
    EXPECT_NE(mirrors[0], mirrors[1]) << k.name << ": the two axes mirror the same way";
  }
}

// A picture claiming 100,000 x 100,000 pixels in its "ispe" property is
// refused before anything is decoded; so is one over the pixel budget, and a
// file cut short.
TEST(Heif, HugeClaimsAndCutFilesAreRefused) {
  for (const THeifKind& k : kHeifKinds) {
    const kxtest::TScratchDir dir;
    const std::optional<std::string> heif = HeifQuadrants(dir, k, 16);
    if (!heif) continue;
    // Every "ispe" (the coded picture's and, when the encoder wraps it, the
    // grid's) claims the size.
    auto claiming = [&](uint32_t w, uint32_t h) {
      std::string s = *heif;
      for (size_t at = s.find("ispe"); at != std::string::npos; at = s.find("ispe", at + 4)) {
        Put(s, at + 8, w, 4);
        Put(s, at + 12, h, 4);
      }
      return s;
    };
    for (const auto& [w, h] : {std::pair{100000u, 100000u}, std::pair{8192u, 4097u}, std::pair{40000u, 16u}}) {
      const std::string huge = claiming(w, h);
      EXPECT_FALSE(DecodeError(huge).empty()) << k.name << " " << w << " x " << h;
      const std::optional<TPictureSize> size = DeclaredPictureSize(Bytes(huge));
      if (size) {
        EXPECT_GT(size->Pixels(), kMaxDecodedPixels) << k.name;
      }
    }
    EXPECT_NE(DecodeError(claiming(8192, 4097)).find("larger than the limit of 33554432 pixels"), std::string::npos)
        << k.name;
    EXPECT_NE(DecodeError(claiming(8193, 16)).find("has a side longer than 8192 pixels"), std::string::npos) << k.name;
    // A grid (as heif-enc wraps x265's pictures) whose own output size, in
    // "idat", claims 30000 x 30000 over the small "ispe": refused before the
    // library allocates it (it would take gigabytes).
    if (const size_t idat = heif->find("idat"); idat != std::string::npos && (*heif)[idat + 5] == 0) {
      std::string lying = *heif;
      Put(lying, idat + 8, 30000, 2);
      Put(lying, idat + 10, 30000, 2);
      EXPECT_FALSE(DecodeError(lying).empty()) << k.name;
      EXPECT_EQ(DeclaredPictureSize(Bytes(lying))->Width, 32) << k.name;
    }
    for (size_t keep : {heif->size() - 1, heif->size() / 2, size_t(100), size_t(30)})
      EXPECT_FALSE(DecodeError(heif->substr(0, keep)).empty()) << k.name << " cut to " << keep;
  }
}

TEST(PictureKind, HeifBrandsTellHeicFromAvif) {
  auto ftyp = [](const char* major, std::vector<const char*> compatible) {
    std::string s(4, '\0');
    s += std::string("ftyp") + major + std::string(4, '\0');
    for (const char* b : compatible) s += b;
    Put(s, 0, s.size(), 4);
    return s + std::string("\0\0\0\x08mdat", 8);
  };
  const struct {
    std::string data;
    TPictureKind kind;
  } cases[] = {
      {ftyp("heic", {"mif1", "heic"}), TPictureKind::Heic},
      {ftyp("avif", {"mif1", "avif"}), TPictureKind::Avif},
      {ftyp("mif1", {"mif1", "avif", "miaf"}), TPictureKind::Avif},
      {ftyp("mif1", {"miaf", "heix"}), TPictureKind::Heic},
      {ftyp("mif1", {"miaf"}), TPictureKind::Heic},  // generic: the library tells
      {ftyp("isom", {"isom", "mp42"}), TPictureKind::Unknown},
      {ftyp("heic", {}).substr(0, 14), TPictureKind::Unknown},
      {std::string("RIFF\0\0\0\0WEBPVP8 ", 16), TPictureKind::Webp},
      {std::string("RIFF\0\0\0\0WAVEfmt ", 16), TPictureKind::Unknown},
  };
  for (const auto& c : cases) EXPECT_EQ(PictureKindOf(Bytes(c.data)), c.kind) << c.data.substr(8, 4);
  // A brand past the box's own end does not count.
  std::string cut = ftyp("mif1", {"miaf"});
  cut.replace(cut.size() - 8, 8, std::string("avif") + "mdat");
  EXPECT_EQ(PictureKindOf(Bytes(cut)), TPictureKind::Heic);
}

// In a build without a format's library its pictures are still told apart,
// and refused with an error that says why.
TEST(PictureKind, FormatsNotBuiltInSaySo) {
  const struct {
    TPictureKind kind;
    std::string data;
  } cases[] = {
      {TPictureKind::Webp, std::string("RIFF\x1a\0\0\0WEBPVP8L\x0d\0\0\0\x2f\0\0\0\0", 25)},
      {TPictureKind::Heic, std::string("\0\0\0\x14" "ftypheic\0\0\0\0mif1", 20)},
      {TPictureKind::Avif, std::string("\0\0\0\x14" "ftypavif\0\0\0\0mif1", 20)},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(PictureKindOf(Bytes(c.data)), c.kind);
    const std::string error = DecodeError(c.data);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find("not built into this program") != std::string::npos, !PictureKindBuiltIn(c.kind)) << error;
  }
}
