// A show seeded through its context is the same show every time. Every
// consumer of the show's generator (picture order, transition choice,
// running-pattern effects, water jitter, weather, object motion, sound waits,
// shuffled music) draws from it in one interleaved sequence, so the picture
// order, the transitions and the sounds below are pinned to the seed: a
// change in who draws when, or in the formula, changes them.
#include <gtest/gtest.h>

#include "devices/headless/uHeadlessDisplay.h"
#include "devices/headless/uHeadlessSound.h"
#include "devices/uMessageBox.h"
#include "raster/uPngIO.h"
#include "saver/FKXScrSvr.h"
#include "sound/uAudioDuration.h"
#include "support/AudioSupport.h"
#include "support/PictureFileBuilder.h"
#include "support/TestSupport.h"

using namespace kx;

namespace {

uint64_t Fnv(uint64_t h, const void* data, size_t size) {
  for (size_t i = 0; i < size; ++i) h = (h ^ static_cast<const uint8_t*>(data)[i]) * 1099511628211ull;
  return h;
}

class TLine final : public TShowEvents {
 public:
  explicit TLine(IClock& clock) : m_clock(clock) {}
  void PictureShown(int32_t index, const std::string&) override { Add("p" + std::to_string(index)); }
  void TransitionStarted(int32_t effect, int32_t frames) override {
    Add("t" + std::to_string(effect) + "/" + std::to_string(frames));
  }
  void Ended() override { Add("end"); }
  std::string Text;

 private:
  void Add(const std::string& what) { Text += std::to_string(m_clock.Tick()) + ":" + what + " "; }
  IClock& m_clock;
};

class SeededShowTest : public testing::Test {
 protected:
  void SetUp() override { m_previousBox = SetMessageBoxHandler([](const std::string&) {}); }
  void TearDown() override { SetMessageBoxHandler(m_previousBox); }

  void AddStill(const std::string& name, TPixel colour) {
    TBitmap32 picture(24, 18, colour);
    picture.FillRect({4, 4, 12, 10}, MakePixel(250, 250, 250));
    kxtest::WriteBmp(Work / name, picture);
    Add(name);
  }
  void Add(const std::string& name) {
    Project.FileList.Names.push_back(Work / name);
    Project.FileList.States.push_back("TRUE");
  }
  // A picture file with jittering water, weather, a bouncing object and a
  // sound at random intervals.
  void AddPictureFile(const std::string& name, int32_t weatherKind) {
    TBitmap32 picture(24, 18);
    for (int32_t y = 0; y < 18; ++y)
      for (int32_t x = 0; x < 24; ++x) picture.SetPixel(x, y, MakePixel(uint8_t(x * 10), uint8_t(y * 14), 90));
    TPictureFileParts parts = kxtest::SmallPictureFile();
    parts.Picture = EncodeJpeg(picture, 95);
    TBitmap32 map(24, 18, 0);
    map.FillRect({0, 9, 24, 18}, MakePixel(0, 0, 255, 0));  // area 1
    parts.RegionMap = EncodeRegionMap(map);
    TWaveParam wave{};
    wave.Amplitude = 2;
    wave.Cycles = 3;
    wave.Period = 360;
    wave.Jitter = 3;
    parts.Waves = {kxtest::StoredBytes(wave)};
    const TWeatherParam weather{weatherKind, 40, 10, 70, 10, 10};
    std::memcpy(parts.Weather.data(), &weather, sizeof weather);
    TSoundParam bird{};
    bird.SetPath("bird.wav");
    bird.PlayMode = 1;
    bird.MinSeconds = 0;
    bird.MaxSeconds = 2;
    parts.Sounds[0] = kxtest::StoredBytes(bird);
    parts.ObjectsText = "[Obj0]\r\nObjType=IMG\r\nFilename=" + Work / "dot.png" +
                        "\r\nMotion=2\r\nMotionSpeed=40\r\nPosLeftType=4\r\nPosTopType=4\r\n"
                        "[Obj1]\r\nObjType=IMG\r\nFilename=" + Work / "dot.png" +
                        "\r\nMotion=1\r\nMotionSpeed=30\r\nPosLeftType=5\r\nPosTopType=3\r\n";
    kxtest::WriteFile(Work / name, MakePictureFile(parts));
    Add(name);
  }

  struct TShow {
    std::string Events, Sounds;  // "<tick>:<what> " each
    uint64_t Frames;             // a hash of every presented frame
    bool operator==(const TShow&) const = default;
  };
  TShow Run() {
    TVirtualClock clock;
    THeadlessDisplay display(clock, 40, 30, 7);
    display.Script({30000, {TInputKind::KeyPress, 0, 0, 27}});
    uint64_t hash = 14695981039346656037ull;
    display.OnPresent([&](const TBitmap32& screen) {
      for (int32_t y = 0; y < screen.Height(); ++y) hash = Fnv(hash, screen.Row(y), size_t(screen.Width()) * 4);
    });
    TSoundLog log(clock);
    THeadlessSoundChannels channels(log);
    THeadlessMusicPlayer music(log, AudioFileDurationMs);
    display.WakeFor(&music);
    TLine events(clock);
    TInputState input;
    TSaverContext context{display, clock, Work / "Lake.scr", 20240611u, &events, &input};
    context.Sound = &channels;
    context.Music = &music;
    context.WorkFolder = Work.Path();
    TKXCProject project = Project;
    RunSlideshow(project, true, true, context);
    TShow show{events.Text, "", hash};
    for (const TSoundRecord& r : log.Records()) {
      std::string line = r.Line;
      if (const size_t at = line.find(Work.Path()); at != std::string::npos) line.erase(at, Work.Path().size());
      show.Sounds += std::to_string(r.Tick) + ":" + line + " ";
    }
    return show;
  }

  kxtest::TScratchDir Work;
  TKXCProject Project;

 private:
  TMessageBoxHandler m_previousBox;
};

TEST_F(SeededShowTest, TheSameSeedMakesTheSameShow) {
  WritePng(Work / "dot.png", TBitmap32(3, 3, MakePixel(255, 200, 0)));
  kxtest::WriteFile(Work / "bird.wav", kxtest::MakeWav({}));
  for (const char* track : {"a.wav", "b.wav", "c.wav"})
    kxtest::WriteFile(Work / track, kxtest::MakeWav({1, 1, 8000, 8, 12000}));  // 1.5 s each
  AddStill("red.bmp", MakePixel(200, 30, 30));
  AddPictureFile("snow.kxp", 1);
  AddStill("green.bmp", MakePixel(30, 200, 30));
  AddPictureFile("rain.kxp", 2);
  AddStill("blue.bmp", MakePixel(30, 30, 200));
  TKXCSetting& s = Project.Settings;
  s.ShowImageMode = 0;
  s.Duration = 2;
  s.Transition = true;
  s.TransitionTime = 300;
  s.TransitionEffects = "3,68,81,104,112,125,128,129,1,150";
  s.Stretch = true;
  s.Proportional = true;
  s.Music = true;
  s.MusicFile = "a.wav;b.wav;c.wav";
  s.MusicMode = 0;
  const TShow show = Run();
  EXPECT_EQ(show.Events,
            "0:p0 2000:p1 2007:t128/17 4306:p4 4313:t112/17 6592:p1 6599:t128/17 8898:p3 8905:t128/17 11204:p2 "
            "11211:t128/17 13490:p3 13497:t128/17 15796:p0 15803:t3/17 18082:p2 18089:t104/17 20368:p0 "
            "20375:t1/17 22654:p2 22661:t129/17 24940:p0 24947:t125/17 27226:p2 27233:t129/17 29512:p1 "
            "29519:t128/17 30003:end ");
  EXPECT_EQ(show.Sounds,
            "0:music open c.wav 0:music volume 1000 0:music play 0:sound stop-all 1500:music end 1500:music open "
            "b.wav 1500:music volume 1000 1500:music play 2000:sound stop-all 2000:sound load 0 bird.wav "
            "3019:music end 3019:music open c.wav 3019:music volume 1000 3019:music play 3019:sound play 0 once "
            "0 4042:sound play 0 once 0 4075:sound play 0 once 0 4108:sound play 0 once 0 4141:sound play 0 once "
            "0 4174:sound play 0 once 0 4207:sound play 0 once 0 4240:sound play 0 once 0 4273:sound play 0 once "
            "0 4306:sound play 0 once 0 4306:sound stop-all 4524:music end 4524:music open b.wav 4524:music "
            "volume 1000 4524:music play 6024:music end 6024:music open c.wav 6024:music volume 1000 6024:music "
            "play 6592:sound stop-all 6592:sound load 0 bird.wav 7545:music end 7545:music open b.wav 7545:music "
            "volume 1000 7545:music play 7611:sound play 0 once 0 8634:sound play 0 once 0 8667:sound play 0 "
            "once 0 8700:sound play 0 once 0 8733:sound play 0 once 0 8766:sound play 0 once 0 8799:sound play 0 "
            "once 0 8832:sound play 0 once 0 8865:sound play 0 once 0 8898:sound play 0 once 0 8898:sound "
            "stop-all 8898:sound load 0 bird.wav 9048:music end 9048:music open c.wav 9048:music volume 1000 "
            "9048:music play 9917:sound play 0 once 0 10577:music end 10577:music open b.wav 10577:music volume "
            "1000 10577:music play 10940:sound play 0 once 0 11204:sound stop-all 12077:music end 12077:music "
            "open c.wav 12077:music volume 1000 12077:music play 13490:sound stop-all 13490:sound load 0 "
            "bird.wav 13589:music end 13589:music open b.wav 13589:music volume 1000 13589:music play "
            "14509:sound play 0 once 0 15103:music end 15103:music open c.wav 15103:music volume 1000 "
            "15103:music play 15532:sound play 0 once 0 15565:sound play 0 once 0 15598:sound play 0 once 0 "
            "15631:sound play 0 once 0 15796:sound stop-all 16603:music end 16603:music open b.wav 16603:music "
            "volume 1000 16603:music play 18082:sound stop-all 18113:music end 18113:music open c.wav "
            "18113:music volume 1000 18113:music play 19613:music end 19613:music open a.wav 19613:music volume "
            "1000 19613:music play 20368:sound stop-all 21113:music end 21113:music open c.wav 21113:music "
            "volume 1000 21113:music play 22613:music end 22613:music open a.wav 22613:music volume 1000 "
            "22613:music play 22654:sound stop-all 24113:music end 24113:music open c.wav 24113:music volume "
            "1000 24113:music play 24940:sound stop-all 25613:music end 25613:music open a.wav 25613:music "
            "volume 1000 25613:music play 27113:music end 27113:music open b.wav 27113:music volume 1000 "
            "27113:music play 27226:sound stop-all 28613:music end 28613:music open c.wav 28613:music volume "
            "1000 28613:music play 29512:sound stop-all 29512:sound load 0 bird.wav 30003:sound stop-all ");
  // The pixels go through floating-point weather, fitting and JPEG decoding,
  // which may round differently on another system: they are compared run
  // against run.
  EXPECT_TRUE(Run() == show);
}

}  // namespace
