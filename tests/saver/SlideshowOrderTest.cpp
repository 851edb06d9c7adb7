#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "saver/uSlideshowOrder.h"

using namespace kx;

namespace {

const std::vector<std::string> kFour = {"a.jpg", "b.jpg", "c.kxp", "d.bmp"};

// The current index after Begin and after each of `advances` Advances.
std::vector<int32_t> Walk(TSlideshowOrder& order, int advances) {
  order.Begin();
  std::vector<int32_t> seen{order.CurrentIndex()};
  for (int i = 0; i < advances; ++i) {
    order.Advance();
    seen.push_back(order.CurrentIndex());
  }
  return seen;
}

// The random modes follow the generator's formula from the seed: 1234 gives
// the draws 2, 3, 1, 0, 1, 0, 2, 3, 1, 1, 3 from four (the second 1 in a row
// would repeat the picture shown and is drawn again). The other modes never
// draw.
TEST(SlideshowOrder, EachShowImageModeFromAFixedSeed) {
  struct TCase {
    int32_t Mode;
    std::vector<int32_t> Order;
    bool Draws;
  };
  const TCase cases[] = {
      {0, {2, 3, 1, 0, 1, 0, 2, 3, 1, 3}, true},   // all pictures, random
      {1, {0, 1, 2, 3, 0, 1, 2, 3, 0, 1}, false},  // all pictures, in order
      {2, {2, 3, 1, 0, 1, 0, 2, 3, 1, 3}, true},   // ticked pictures, random
      {3, {0, 1, 2, 3, 0, 1, 2, 3, 0, 1}, false},  // one selected picture: in order
      {7, {0, 1, 2, 3, 0, 1, 2, 3, 0, 1}, false},  // any other value: in order
  };
  for (const TCase& c : cases) {
    TRandom random(1234);
    TSlideshowOrder order(kFour, c.Mode, random);
    EXPECT_EQ(order.RandomOrder(), c.Draws) << c.Mode;
    EXPECT_EQ(Walk(order, 9), c.Order) << c.Mode;
    EXPECT_EQ(random.State(), c.Draws ? 3328097537u : 1234u) << c.Mode;  // eleven draws, or none
    EXPECT_EQ(order.CurrentName(), kFour[size_t(c.Order.back())]) << c.Mode;
  }
}

// A random order never shows a picture twice in a row: with two pictures it
// alternates strictly, with one it stays and draws nothing.
TEST(SlideshowOrder, ARandomOrderNeverRepeatsThePictureShown) {
  for (uint32_t seed : {1u, 2u, 99u, 1234u}) {
    TRandom random(seed);
    TSlideshowOrder two({"a.jpg", "b.jpg"}, 0, random);
    const std::vector<int32_t> seen = Walk(two, 8);
    for (size_t i = 1; i < seen.size(); ++i) EXPECT_NE(seen[i], seen[i - 1]) << seed << " at " << i;

    TSlideshowOrder many(kFour, 2, random);
    const std::vector<int32_t> more = Walk(many, 200);
    for (size_t i = 1; i < more.size(); ++i) ASSERT_NE(more[i], more[i - 1]) << seed << " at " << i;

    const uint32_t before = random.State();
    TSlideshowOrder one({"a.jpg"}, 0, random);
    EXPECT_EQ(Walk(one, 3), (std::vector<int32_t>{0, 0, 0, 0}));
    EXPECT_EQ(random.State(), before);
  }
}

// The picture drawn ahead is the one the order moves to, drawing ahead twice
// draws once, and an order that draws ahead picks the same pictures as one
// that does not when nothing else draws from the generator.
TEST(SlideshowOrder, APictureDrawnAheadIsTheNextOne) {
  TRandom plainRandom(77), aheadRandom(77);
  TSlideshowOrder plain(kFour, 0, plainRandom), ahead(kFour, 0, aheadRandom);
  plain.Begin();
  ahead.Begin();
  for (int i = 0; i < 30; ++i) {
    EXPECT_FALSE(ahead.DrawnAhead());
    const int32_t next = ahead.DrawAhead();
    const uint32_t state = aheadRandom.State();
    EXPECT_EQ(ahead.DrawAhead(), next);
    EXPECT_EQ(aheadRandom.State(), state);
    EXPECT_EQ(ahead.DrawnAhead(), next);
    ahead.Advance();
    plain.Advance();
    ASSERT_EQ(ahead.CurrentIndex(), next) << i;
    ASSERT_EQ(plain.CurrentIndex(), next) << i;
  }
}

// Loads the named pictures, throwing for the broken ones, and logs the tries.
struct TLoader {
  std::set<std::string> Broken;
  std::vector<std::string> Tries;
  std::string Loaded;
  TSlideshowOrder::TLoad Load(TSlideshowOrder& order) {
    return order.LoadOrMoveOn(Loaded, [this](int32_t index, const std::string& name) {
      Tries.push_back(std::to_string(index) + " " + name);
      if (Broken.contains(name)) throw std::runtime_error("cannot decode");
      Loaded = name;
    });
  }
};

// A picture that fails is passed over at once and never tried again; the
// next one of the order is tried in the same call.
TEST(SlideshowOrder, FailedPicturesArePassedOverAndNeverTriedAgain) {
  TRandom random;
  TSlideshowOrder order(kFour, 1, random);
  TLoader loader{{"a.jpg", "c.kxp"}};
  order.Begin();
  EXPECT_EQ(loader.Load(order), TSlideshowOrder::TLoad::Loaded);
  EXPECT_EQ(order.CurrentIndex(), 1);
  for (int i = 0; i < 4; ++i) {
    order.Advance();
    EXPECT_EQ(loader.Load(order), TSlideshowOrder::TLoad::Loaded);
  }
  EXPECT_EQ(loader.Tries,
            (std::vector<std::string>{"0 a.jpg", "1 b.jpg", "2 c.kxp", "3 d.bmp", "1 b.jpg", "3 d.bmp", "1 b.jpg"}));
  EXPECT_TRUE(order.Failed("a.jpg") && order.Failed("c.kxp"));
  EXPECT_FALSE(order.Failed("b.jpg"));
  EXPECT_EQ(order.FirstFailure(), "File: a.jpg\r\ncannot decode");
}

// When the order comes back to the picture on the screen past failed ones,
// that picture stays: nothing is loaded again.
TEST(SlideshowOrder, ThePictureOnTheScreenStaysWhenTheOthersFail) {
  for (int32_t mode : {0, 1}) {
    TRandom random(5);
    TSlideshowOrder order({"good.jpg", "bad.jpg"}, mode, random);
    TLoader loader{{"bad.jpg"}};
    order.Begin();
    if (order.CurrentName() == "bad.jpg") order.Advance();
    EXPECT_EQ(loader.Load(order), TSlideshowOrder::TLoad::Loaded) << mode;
    for (int i = 0; i < 3; ++i) {
      order.Advance();
      EXPECT_EQ(loader.Load(order), TSlideshowOrder::TLoad::Kept) << mode;
      EXPECT_EQ(order.CurrentName(), "good.jpg") << mode;
    }
    EXPECT_EQ(loader.Tries, (std::vector<std::string>{"0 good.jpg", "1 bad.jpg"})) << mode;
  }
}

// When every picture has failed (each name once, however often the list
// holds it), the call gives up with the first failure's message.
TEST(SlideshowOrder, AllPicturesFailing) {
  for (int32_t mode : {0, 1}) {
    TRandom random(42);
    TSlideshowOrder order({"x.kxp", "y.jpg", "x.kxp", "z.bmp"}, mode, random);
    TLoader loader{{"x.kxp", "y.jpg", "z.bmp"}};
    order.Begin();
    EXPECT_EQ(loader.Load(order), TSlideshowOrder::TLoad::AllFailed) << mode;
    ASSERT_EQ(loader.Tries.size(), 3u) << mode;
    std::map<std::string, int> tries;
    for (const std::string& t : loader.Tries) ++tries[t.substr(t.find(' ') + 1)];
    EXPECT_EQ(tries, (std::map<std::string, int>{{"x.kxp", 1}, {"y.jpg", 1}, {"z.bmp", 1}})) << mode;
    EXPECT_EQ(order.FirstFailure(), "File: " + loader.Tries[0].substr(2) + "\r\ncannot decode") << mode;
  }
}

TEST(SlideshowOrder, TheShowListIsTheTickedPicturesInListOrder) {
  TKXCFileList files;
  files.Names = {"a.jpg", "b.jpg", "c.jpg", "d.jpg"};
  files.States = {"TRUE", "FALSE", "TRUE", "true"};  // only "TRUE" counts
  EXPECT_EQ(EnabledPictures(files), (std::vector<std::string>{"a.jpg", "c.jpg"}));
  files.States.resize(1);  // a name without a state is not shown
  EXPECT_EQ(EnabledPictures(files), (std::vector<std::string>{"a.jpg"}));
}

}  // namespace
