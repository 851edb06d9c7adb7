#include <gtest/gtest.h>

#include "devices/headless/uHeadlessDisplay.h"
#include "devices/headless/uHeadlessSound.h"
#include "devices/uMessageBox.h"
#include "saver/FKXScrSvr.h"
#include "sound/uAudioDuration.h"
#include "support/AudioSupport.h"
#include "support/PictureFileBuilder.h"
#include "support/TestSupport.h"

using namespace kx;

namespace {

// A show with sound and music on the recording devices: what was played,
// stopped and opened, and when.
class SlideshowSoundTest : public testing::Test {
 protected:
  void SetUp() override {
    m_previousBox = SetMessageBoxHandler([](const std::string&) {});
    Project.Settings.ShowImageMode = 1;
    Project.Settings.Duration = 3;
    Project.Settings.Transition = false;
    Project.Settings.SoundVolume = 80;
    Project.Settings.Music = false;
  }
  void TearDown() override { SetMessageBoxHandler(m_previousBox); }

  // A picture file whose records loop water.wav and play bird.wav every 2 s.
  void AddSoundPicture() {
    kxtest::WriteFile(Work / "water.wav", kxtest::MakeWav({}));
    kxtest::WriteFile(Work / "bird.wav", kxtest::MakeWav({}));
    TPictureFileParts parts = kxtest::SmallPictureFile();
    TSoundParam loop{}, bird{};
    loop.SetPath("C:\\Sounds\\water.wav");  // found in the work folder
    bird.SetPath("bird.wav");
    bird.PlayMode = 2;
    bird.MinSeconds = 2;
    parts.Sounds[0] = kxtest::StoredBytes(loop);
    parts.Sounds[1] = kxtest::StoredBytes(bird);
    Add("lake.kxp", MakePictureFile(parts));
  }
  void AddStillPicture() {
    kxtest::WriteBmp(Work / "still.bmp", TBitmap32(8, 6, MakePixel(1, 2, 3)));
    Project.FileList.Names.push_back(Work / "still.bmp");
    Project.FileList.States.push_back("TRUE");
  }
  void Add(const std::string& name, const std::string& bytes) {
    kxtest::WriteFile(Work / name, bytes);
    Project.FileList.Names.push_back(Work / name);
    Project.FileList.States.push_back("TRUE");
  }

  void Run(uint32_t endTick, bool single = false) {
    Display = std::make_unique<THeadlessDisplay>(Clock, 16, 12, 30);
    Display->Script({endTick, {TInputKind::KeyPress, 0, 0, 27}});
    Display->WakeFor(&Music);
    TInputState input;
    TSaverContext context{*Display, Clock, Work / "Lake.scr", 1234u, nullptr, &input};
    context.Sound = &Channels;
    context.Music = &Music;
    context.WorkFolder = Work.Path();
    context.Errors = &Errors;
    if (single) ShowPictureFullScreen(Project, Project.FileList.Names[0], true, context);
    else RunSlideshow(Project, true, true, context);
  }

  std::vector<std::string> Lines(uint32_t from = 0, uint32_t to = UINT32_MAX) const {
    std::vector<std::string> out;
    for (const TSoundRecord& r : Log.Records())
      if (r.Tick >= from && r.Tick < to) out.push_back(r.Line);
    return out;
  }

  kxtest::TScratchDir Work;
  TKXCProject Project;
  TVirtualClock Clock;
  TSoundLog Log{Clock};
  THeadlessSoundChannels Channels{Log};
  THeadlessMusicPlayer Music{Log, AudioFileDurationMs};
  std::unique_ptr<THeadlessDisplay> Display;
  kxtest::TErrorLog Errors;

 private:
  TMessageBoxHandler m_previousBox;
};

// The picture file's sounds start with it; the still picture after it
// silences them at once and plays none; the next picture file restarts its
// own; closing the window stops everything.
TEST_F(SlideshowSoundTest, PictureFilesPlayTheirSoundsAndStillPicturesAreSilent) {
  AddSoundPicture();
  AddStillPicture();
  Run(7500);
  const std::vector<std::string> start = {"sound stop-all", "sound load 0 " + Work / "water.wav",
                                          "sound load 1 " + Work / "bird.wav", "sound play 0 loop -800"};
  const std::vector<std::string> first = Lines(0, 1);
  EXPECT_EQ(first, start);
  EXPECT_EQ(Lines(1, 3000), (std::vector<std::string>{"sound play 1 once -800"}));  // at 2 s
  // The still picture comes after 3 s: everything stops, nothing plays.
  const std::vector<std::string> still = Lines(3000, 6000);
  EXPECT_EQ(still, (std::vector<std::string>{"sound stop-all"}));
  // The picture file again after 6 s, then the window closes.
  const std::vector<std::string> again = Lines(6000);
  ASSERT_GE(again.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(again.begin(), again.begin() + 4), start);
  EXPECT_EQ(again.back(), "sound stop-all");
  EXPECT_NE(again[again.size() - 2], "sound stop-all");  // stopped once, not again as the player goes
  EXPECT_EQ(Display->Title(), Work / "bird.wav");
}

TEST_F(SlideshowSoundTest, SoundOffPlaysNothing) {
  AddSoundPicture();
  Project.Settings.Sound = false;
  Run(5000);
  for (const std::string& line : Lines()) EXPECT_EQ(line.find("sound play"), std::string::npos) << line;
}

// Music runs across the slides, track after track, from the work folder.
TEST_F(SlideshowSoundTest, MusicPlaysThroughTheWholeShow) {
  AddSoundPicture();
  AddStillPicture();
  kxtest::WriteFile(Work / "a.wav", kxtest::MakeWav({1, 1, 8000, 8, 20000}));  // 2.5 s
  kxtest::WriteFile(Work / "b.wav", kxtest::MakeWav({1, 1, 8000, 8, 16000}));  // 2 s
  Project.Settings.Music = true;
  Project.Settings.MusicFile = "a.wav;b.wav";
  Project.Settings.MusicMode = 1;
  Project.Settings.MusicVolume = 50;
  Run(10000);
  std::vector<std::string> music;
  std::vector<uint32_t> ends;
  for (const TSoundRecord& r : Log.Records()) {
    if (r.Line.rfind("music", 0) == 0) music.push_back(r.Line);
    if (r.Line == "music end") ends.push_back(r.Tick);
  }
  std::vector<std::string> expected;
  for (const char* track : {"a.wav", "b.wav", "a.wav", "b.wav", "a.wav"})
    expected.insert(expected.end(), {"music open " + Work / track, "music volume 500", "music play", "music end"});
  expected.pop_back();  // the show ends while the fifth track plays
  EXPECT_EQ(music, expected);
  ASSERT_EQ(ends.size(), 4u);
  const uint32_t due[] = {2500, 4500, 7000, 9000};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_GE(ends[i], due[i]) << i;
    EXPECT_LE(ends[i], due[i] + 70 * (i + 1)) << i;  // each end is seen within a pass or two
  }
}

// The one-picture show plays the picture's sounds and no music, whatever
// the project says.
TEST_F(SlideshowSoundTest, OnePictureShowHasSoundButNoMusic) {
  AddSoundPicture();
  kxtest::WriteFile(Work / "a.wav", kxtest::MakeWav({}));
  Project.Settings.Sound = false;
  Project.Settings.Music = true;
  Project.Settings.MusicFile = "a.wav";
  Run(3000, true);
  const std::vector<std::string> lines = Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "sound play 0 loop 0"), lines.end());
  for (const std::string& line : lines) EXPECT_EQ(line.rfind("music", 0), std::string::npos) << line;
}

// A sound that does not decode and a track that does not open are dropped
// without a word on the screen: they reach the show's error sink, and the
// rest of the picture file's sounds play.
TEST_F(SlideshowSoundTest, SoundsAndTracksThatFailReachTheErrorSink) {
  kxtest::WriteFile(Work / "broken.wav", "RIFF and then nothing of a sound");
  kxtest::WriteFile(Work / "bird.wav", kxtest::MakeWav({}));
  TPictureFileParts parts = kxtest::SmallPictureFile();
  TSoundParam broken{}, bird{};
  broken.SetPath("broken.wav");
  bird.SetPath("bird.wav");
  bird.PlayMode = 2;
  bird.MinSeconds = 1;
  parts.Sounds[0] = kxtest::StoredBytes(broken);
  parts.Sounds[1] = kxtest::StoredBytes(bird);
  Add("lake.kxp", MakePictureFile(parts));
  Project.Settings.Music = true;
  Project.Settings.MusicFile = "missing.wav";
  Run(2500);
  ASSERT_EQ(Errors.Lines.size(), 2u);
  EXPECT_EQ(Errors.Lines[0], "music: " + Work / "missing.wav" + ": cannot open " + Work / "missing.wav");
  EXPECT_EQ(Errors.Lines[1].rfind("sound: " + Work / "broken.wav" + ": not a WAV sound", 0), 0u) << Errors.Lines[1];
  const std::vector<std::string> lines = Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "sound play 1 once -800"), lines.end());
  EXPECT_EQ(std::find(lines.begin(), lines.end(), "sound play 0 loop -800"), lines.end());
}

}  // namespace
