#include <gtest/gtest.h>

#include "package/uContainer.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::Exists;
using kxtest::ReadFile;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

std::string Shifted(std::string_view text) {
  std::string out;
  for (char c : text) out += char(c + 1);
  return out;
}

std::string Int32(int32_t v) {
  const auto u = uint32_t(v);
  return {char(u), char(u >> 8), char(u >> 16), char(u >> 24)};
}

const std::string kMarker = Shifted(kContainerMarker);

struct FindCase {
  const char* name;
  std::string bytes;
  bool found;
  int64_t offset;
  int32_t count;
};

class FindContainerTest : public testing::TestWithParam<FindCase> {};

TEST_P(FindContainerTest, FindsTheFirstShiftedMarker) {
  TScratchDir dir;
  WriteFile(dir / "f", GetParam().bytes);
  const TContainerLocation loc = FindContainer(dir / "f");
  EXPECT_EQ(loc.found, GetParam().found);
  if (loc.found) {
    EXPECT_EQ(loc.offset, GetParam().offset);
    EXPECT_EQ(loc.count, GetParam().count);
  }
}

// A long run in front of the marker puts it across the reader's block boundaries.
std::string Pad(size_t n) { return std::string(n, 'a'); }

INSTANTIATE_TEST_SUITE_P(
    Cases, FindContainerTest,
    testing::Values(
        FindCase{"AtStart", kMarker + Int32(4), true, 13, 4},
        FindCase{"AfterPlayerBytes", std::string("MZ\x90\0abc", 7) + kMarker + Int32(7), true, 20, 7},
        FindCase{"PlainTextNeverMatches", std::string(kContainerMarker) + Int32(4), false, 0, 0},
        FindCase{"FalseStartThenMarker", Shifted("{KXRES") + "x" + kMarker + Int32(2), true, 7 + 13, 2},
        // The byte that breaks a partial match is not compared again with the
        // first character, so a marker that begins on it is missed.
        FindCase{"BreakingByteStartsMarker", Shifted("{KX") + kMarker + Int32(2), false, 0, 0},
        FindCase{"BreakingByteStartsMarkerThenAnother",
                 Shifted("{KX") + kMarker + "z" + kMarker + Int32(5), true, 3 + 13 + 1 + 13, 5},
        FindCase{"SecondMarkerIgnored", kMarker + Int32(1) + kMarker + Int32(9), true, 13, 1},
        FindCase{"CountCutShort", kMarker + "\x01\x02", true, 13, 0},
        FindCase{"NegativeCount", kMarker + Int32(-3), true, 13, -3},
        FindCase{"Empty", "", false, 0, 0},
        FindCase{"AcrossBlockBoundaryA", Pad(65536 - 1) + kMarker + Int32(3), true, 65535 + 13, 3},
        FindCase{"AcrossBlockBoundaryB", Pad(65536 - 7) + kMarker + Int32(3), true, 65529 + 13, 3},
        FindCase{"CountAcrossBoundary", Pad(65536 - 15) + kMarker + Int32(3), true, 65521 + 13, 3},
        FindCase{"FalseStartAcrossBoundary", Pad(65536 - 2) + Shifted("{KXR") + "q" + kMarker + Int32(6),
                 true, 65534 + 5 + 13, 6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExtractContainer, WritesEntriesByPosition) {
  TScratchDir dir;
  WriteFile(dir / "c", "player" + MakeContainer({"first", "", "third"}) + "trailing junk");
  ExtractContainer(dir / "c", {dir / "1", dir / "2", dir / "3"});
  EXPECT_EQ(ReadFile(dir / "1"), "first");
  EXPECT_TRUE(Exists(dir / "2"));
  EXPECT_EQ(ReadFile(dir / "2"), "");
  EXPECT_EQ(ReadFile(dir / "3"), "third");
}

TEST(ExtractContainer, CountAndNamesLimitEachOther) {
  TScratchDir dir;
  WriteFile(dir / "c", MakeContainer({"a", "b", "c"}));
  ExtractContainer(dir / "c", {dir / "1", dir / "2"});
  EXPECT_EQ(ReadFile(dir / "2"), "b");

  WriteFile(dir / "d", MakeContainer({"a"}));
  ExtractContainer(dir / "d", {dir / "x", dir / "y"});
  EXPECT_EQ(ReadFile(dir / "x"), "a");
  EXPECT_FALSE(Exists(dir / "y"));
}

TEST(ExtractContainer, ContainerEndingEarlyLeavesShortThenEmptyEntries) {
  TScratchDir dir;
  const std::string full = MakeContainer({"abcdef", "ghi"});
  WriteFile(dir / "c", full.substr(0, 13 + 4 + 4 + 3));  // "abc" of the first entry
  // The count still says 3 entries.
  std::string bytes = ReadFile(dir / "c");
  bytes.replace(13, 4, Int32(3));
  WriteFile(dir / "c", bytes);
  ExtractContainer(dir / "c", {dir / "1", dir / "2", dir / "3"});
  EXPECT_EQ(ReadFile(dir / "1"), "abc");
  EXPECT_TRUE(Exists(dir / "2"));
  EXPECT_EQ(ReadFile(dir / "2"), "");
  EXPECT_EQ(ReadFile(dir / "3"), "");
}

TEST(ExtractContainer, NegativeSizeEndsExtraction) {
  TScratchDir dir;
  WriteFile(dir / "c", kMarker + Int32(3) + Int32(2) + "ok" + Int32(-5) + "zzzz" + Int32(1) + "q");
  ExtractContainer(dir / "c", {dir / "1", dir / "2", dir / "3"});
  EXPECT_EQ(ReadFile(dir / "1"), "ok");
  EXPECT_FALSE(Exists(dir / "2"));
  EXPECT_FALSE(Exists(dir / "3"));
}

TEST(ExtractContainer, NegativeOrZeroCountWritesNothing) {
  TScratchDir dir;
  for (int32_t count : {0, -1, INT32_MIN}) {
    WriteFile(dir / "c", kMarker + Int32(count) + Int32(1) + "q");
    ExtractContainer(dir / "c", {dir / "1"});
    EXPECT_FALSE(Exists(dir / "1")) << count;
  }
}

TEST(ExtractContainer, UncreatableOutputIsSkippedBySize) {
  TScratchDir dir;
  WriteFile(dir / "c", MakeContainer({"lost", "kept", "skipped", "also kept"}));
  ExtractContainer(dir / "c", {dir / "no/such/folder", dir / "2", "", dir / "4"});
  EXPECT_EQ(ReadFile(dir / "2"), "kept");
  EXPECT_EQ(ReadFile(dir / "4"), "also kept");
}

TEST(ExtractContainer, NestedContainerIsFoundAtOffsetZeroOfItsFile) {
  TScratchDir dir;
  WriteFile(dir / "c", "prefix" + MakeContainer({MakeContainer({"inner"})}));
  ExtractContainer(dir / "c", {dir / "nested"});
  const TContainerLocation loc = FindContainer(dir / "nested");
  EXPECT_TRUE(loc.found);
  EXPECT_EQ(loc.offset, 13);
  ExtractContainer(dir / "nested", {dir / "inner"});
  EXPECT_EQ(ReadFile(dir / "inner"), "inner");
}

// A container nested in an entry, read in place, gives what writing the entry
// to a file of its own and reading that gives, the cut and odd cases included.
TEST(ExtractContainer, NestedContainerReadInPlaceEqualsItsFile) {
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"whole", MakeContainer({"alpha", "", "gamma"})},
      {"behind a prefix", "junk" + MakeContainer({"alpha", "beta"})},
      {"cut inside an entry", (kMarker + Int32(2) + Int32(10) + "abc")},
      {"more entries than names", MakeContainer({"a", "b", "c", "d", "e"})},
      {"negative size", kMarker + Int32(3) + Int32(1) + "x" + Int32(-1) + "yz"},
      {"no container", "plain bytes"},
  };
  for (const auto& [name, nested] : cases) {
    SCOPED_TRACE(name);
    TScratchDir dir;
    // The nested container is entry 1; entry 2 follows it, so a read past its end would show.
    WriteFile(dir / "outer", "player" + MakeContainer({"first", nested, "AFTER"}));
    const std::vector<std::string> names = {"1", "2", "3", "4"};
    std::vector<std::string> inPlace, viaFile;
    for (const std::string& n : names) {
      inPlace.push_back(dir / ("p" + n));
      viaFile.push_back(dir / ("f" + n));
    }
    ExtractContainer(dir / "outer", {"", dir / "entry"});
    ExtractContainer(dir / "entry", viaFile);
    FILE* f = std::fopen((dir / "outer").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    const std::optional<TEntryRange> entry = FindEntry(f, 1);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->End - entry->Begin, int64_t(nested.size()));
    ExtractContainer(f, entry->Begin, entry->End, inPlace);
    std::fclose(f);
    for (size_t i = 0; i < names.size(); ++i) {
      EXPECT_EQ(Exists(inPlace[i]), Exists(viaFile[i])) << i;
      EXPECT_EQ(ReadFile(inPlace[i]), ReadFile(viaFile[i])) << i;
    }
  }
}

TEST(FindEntry, StopsWhereAnExtractionWouldStop) {
  TScratchDir dir;
  WriteFile(dir / "c", "xx" + kMarker + Int32(4) + Int32(2) + "ab" + Int32(-5) + "rest");
  FILE* f = std::fopen((dir / "c").c_str(), "rb");
  ASSERT_NE(f, nullptr);
  const std::optional<TEntryRange> first = FindEntry(f, 0);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Begin, int64_t(2 + 13 + 4 + 4));
  EXPECT_EQ(first->End, first->Begin + 2);
  EXPECT_FALSE(FindEntry(f, 1));  // a negative size
  EXPECT_FALSE(FindEntry(f, 3));
  std::fclose(f);
  WriteFile(dir / "short", kMarker + Int32(2) + Int32(100) + "only this");
  f = std::fopen((dir / "short").c_str(), "rb");
  const std::optional<TEntryRange> cut = FindEntry(f, 0);
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->End - cut->Begin, 9);  // cut where the file ends
  std::fclose(f);
}

TEST(ReadContainer, ReadsEntriesInMemoryWithinLimits) {
  TScratchDir dir;
  WriteFile(dir / "c", MakeContainer({"one", std::string(100, 'x'), "three", "four"}));
  const TContainerContents c = ReadContainer(dir / "c", 3, 10);
  EXPECT_EQ(c.location.count, 4);
  ASSERT_EQ(c.entries.size(), 3u);
  EXPECT_EQ(c.entries[0], "one");
  EXPECT_EQ(c.entries[1], std::string(10, 'x'));
  EXPECT_EQ(c.entries[2], "three");
}

TEST(ReadContainer, HugeStoredSizeAllocatesOnlyWhatTheFileHolds) {
  TScratchDir dir;
  WriteFile(dir / "c", kMarker + Int32(1) + Int32(INT32_MAX) + "tiny");
  const TContainerContents c = ReadContainer(dir / "c", 3, size_t(1) << 30);
  ASSERT_EQ(c.entries.size(), 1u);
  EXPECT_EQ(c.entries[0], "tiny");
}

}  // namespace
