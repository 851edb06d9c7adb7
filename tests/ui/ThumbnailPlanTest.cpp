#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "ui/uThumbnailLoader.h"
#include "ui/uThumbnailPlan.h"

using namespace kx;

TEST(ThumbnailPlan, WantedGoesFromTheViewOutwardUpToTheCap) {
  struct TCase {
    const char* Name;
    size_t Pictures, Cap;
    TThumbnailView View;
    std::vector<size_t> Held;
    std::vector<size_t> Expected;
  };
  const TCase cases[] = {
      {"the view first, then ahead before behind", 10, 6, {4, 2}, {}, {4, 5, 6, 3, 7, 2}},
      {"at the top: only ahead", 10, 5, {0, 3}, {}, {0, 1, 2, 3, 4}},
      {"at the end: only behind", 10, 5, {8, 2}, {}, {8, 9, 7, 6, 5}},
      {"a short list: all of it", 5, 100, {2, 1}, {}, {2, 3, 1, 4, 0}},
      {"held ones are skipped but count", 10, 5, {4, 2}, {5, 6}, {4, 3, 7}},
      {"a view larger than the cap comes whole", 10, 2, {3, 4}, {}, {3, 4, 5, 6}},
      {"a view past the end starts at the last picture", 4, 2, {9, 3}, {}, {3, 2}},
      {"an empty view is one picture", 6, 3, {2, 0}, {}, {2, 3, 1}},
      {"no pictures", 0, 5, {0, 3}, {}, {}},
  };
  for (const TCase& c : cases) {
    TThumbnailPlan plan(c.Pictures, c.Cap);
    for (size_t i : c.Held) plan.Hold(i);
    EXPECT_EQ(plan.Wanted(c.View), c.Expected) << c.Name;
  }
}

TEST(ThumbnailPlan, TrimDropsTheFarthestUntilTheCapHolds) {
  TThumbnailPlan plan(20, 4);
  for (size_t i : {0, 1, 2, 9, 10, 18, 19}) plan.Hold(i);
  EXPECT_EQ(plan.HeldCount(), 7u);
  // The view 9..10: 0 is 9 away, 19 is 9 away, 18 and 1 are 8 away: ties
  // drop the one behind first.
  EXPECT_EQ(plan.Trim({9, 2}), (std::vector<size_t>{0, 19, 1}));
  EXPECT_EQ(plan.HeldCount(), 4u);
  for (size_t i : {2, 9, 10, 18}) EXPECT_TRUE(plan.Held(i)) << i;
  EXPECT_TRUE(plan.Trim({9, 2}).empty());  // under the cap: nothing

  // The view's own are never dropped, whatever the cap.
  TThumbnailPlan small(10, 1);
  for (size_t i : {3, 4, 5, 9}) small.Hold(i);
  EXPECT_EQ(small.Trim({3, 3}), (std::vector<size_t>{9}));
  EXPECT_EQ(small.HeldCount(), 3u);
  // Holding twice counts once; an index past the list is ignored.
  small.Hold(3);
  small.Hold(42);
  EXPECT_EQ(small.HeldCount(), 3u);
}

// Scrolling through a long list the way a grid does: every view gets its
// thumbnails, the held ones never pass the cap, and a thumbnail dropped
// on the way down is decoded again on the way back.
TEST(ThumbnailPlan, ScrollingThroughALongListStaysUnderTheCap) {
  const size_t n = 2000, cap = 60, screen = 16;
  TThumbnailPlan plan(n, cap);
  std::vector<int> decodes(n, 0);
  auto visit = [&](size_t first) {
    const TThumbnailView view{first, screen};
    for (size_t i : plan.Trim(view)) ASSERT_GT(TThumbnailPlan::Distance(view, i), 0u);
    for (size_t i : plan.Wanted(view)) {
      ++decodes[i];
      plan.Hold(i);
      plan.Trim(view);
    }
    for (size_t i = first; i < std::min(n, first + screen); ++i) ASSERT_TRUE(plan.Held(i)) << first << " " << i;
    ASSERT_LE(plan.HeldCount(), cap);
  };
  for (size_t first = 0; first < n; first += 4) visit(first);
  EXPECT_EQ(std::count(decodes.begin(), decodes.end(), 0), 0);
  // Scrolling down decodes each picture once; nothing near the top is held.
  EXPECT_EQ(std::count(decodes.begin(), decodes.end(), 1), std::ptrdiff_t(n));
  EXPECT_FALSE(plan.Held(0));
  visit(0);
  EXPECT_EQ(decodes[0], 2);
}

namespace {

// A load function that records what it was asked for; it can hold the
// worker on a picture until released.
struct TFakeLoads {
  std::mutex Lock;
  std::condition_variable Changed;
  std::vector<std::string> Paths;
  std::string HoldOn;
  bool Holding = false;

  TThumbnailLoader::TLoad Function() {
    return [this](const std::string& path, int w, int h) {
      std::unique_lock<std::mutex> lock(Lock);
      Paths.push_back(path);
      Changed.notify_all();
      if (path == HoldOn) {
        Holding = true;
        Changed.notify_all();
        Changed.wait(lock, [&] { return HoldOn.empty(); });
        Holding = false;
      }
      TThumbnail t;
      t.Bitmap = TBitmap32(w, h);
      t.Title = path;
      return t;
    };
  }
  void WaitUntilHolding() {
    std::unique_lock<std::mutex> lock(Lock);
    Changed.wait(lock, [&] { return Holding; });
  }
  void Release() {
    std::lock_guard<std::mutex> lock(Lock);
    HoldOn.clear();
    Changed.notify_all();
  }
};

std::vector<std::string> Names(size_t n) {
  std::vector<std::string> names;
  for (size_t i = 0; i < n; ++i) names.push_back("p" + std::to_string(i));
  return names;
}

}  // namespace

TEST(ThumbnailLoader, LoadsWhatIsAskedInTheOrderAsked) {
  TFakeLoads fake;
  TThumbnailLoader loader(fake.Function());
  loader.Start(Names(100), 4, 3, {});
  EXPECT_FALSE(loader.Loading());  // nothing asked yet
  loader.Request({7, 3, 99, 100, 5});  // 100 is past the list
  loader.Wait();
  EXPECT_EQ(fake.Paths, (std::vector<std::string>{"p7", "p3", "p99", "p5"}));
  EXPECT_TRUE(loader.Loading());  // results wait to be taken
  std::vector<size_t> taken;
  loader.Take([&](size_t i, TThumbnail& r) {
    taken.push_back(i);
    EXPECT_EQ(r.Title, "p" + std::to_string(i));
    EXPECT_EQ(r.Bitmap.Width(), 4);
  });
  EXPECT_EQ(taken, (std::vector<size_t>{7, 3, 99, 5}));
  EXPECT_FALSE(loader.Loading());
  EXPECT_EQ(loader.Loads(), 4u);
  loader.Stop();
}

// A new request replaces what waits: the worker finishes the picture it is
// on, then turns to the new ones; the one it is on is not asked twice.
TEST(ThumbnailLoader, ANewRequestReplacesWhatWaits) {
  TFakeLoads fake;
  fake.HoldOn = "p0";
  TThumbnailLoader loader(fake.Function());
  loader.Start(Names(50), 4, 3, {});
  loader.Request({0, 1, 2, 3});
  fake.WaitUntilHolding();
  loader.Request({40, 0, 41});
  fake.Release();
  loader.Wait();
  EXPECT_EQ(fake.Paths, (std::vector<std::string>{"p0", "p40", "p41"}));
  // Stop drops what was not taken and ends the worker even while it waits.
  loader.Request({10});
  loader.Stop();
  EXPECT_FALSE(loader.Loading());
  size_t taken = 0;
  loader.Take([&](size_t, TThumbnail&) { ++taken; });
  EXPECT_EQ(taken, 0u);
}
