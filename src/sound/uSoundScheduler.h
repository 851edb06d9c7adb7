// The saver window's sound scheduler: when a picture file becomes the current
// slide its sound records are looked up and loaded into the player, and on
// every pass of the idle loop each record that is due plays: a loop sound at
// once and for good, a random sound after a random wait of MinSeconds to
// MaxSeconds (exclusive), an interval sound every MinSeconds. Waits are
// measured from the start of the previous play.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "animation/uCreatorProject.h"
#include "os/uClock.h"
#include "os/uErrorSink.h"
#include "raster/uRandom.h"
#include "sound/uSoundEffect.h"

namespace kx {

// Where sounds that are not at their stored path are looked for, in this
// order; each folder ends in "/" (an empty one is skipped).
struct TSoundFolders {
  std::string Work;     // the work folder the package was unpacked into
  std::string Shared;   // the shared folder; its "sounds/" subfolder is searched
  std::string Program;  // the running program's folder; its "sounds/" subfolder is searched
};

// The first existing file of: the stored path, the work folder + its name
// part, the shared folder + "sounds/" + the name part, the program's folder
// + "sounds/" + the name part. "" when none exists.
std::string FindSoundFile(const std::string& stored, const TSoundFolders& folders);

class TSoundScheduler {
 public:
  // Random waits are drawn from random; the sounds that fail are reported to
  // errors. Both must outlive the scheduler.
  TSoundScheduler(TSoundEffect& player, IClock& clock, TRandom& random, IErrorSink& errors, TSoundFolders folders,
                  std::function<void(const std::string&)> setTitle)
      : m_player(player),
        m_clock(clock),
        m_random(random),
        m_errors(errors),
        m_folders(std::move(folders)),
        m_setTitle(std::move(setTitle)) {}

  // Stops every sound and forgets the loaded files and records.
  void StopSounds();
  // Looks up and loads the project's used sound records (the window's
  // title becomes each path found). A record whose file is missing or does
  // not decode stays silent; the others play. Errors end it; the screen
  // shows nothing, the sink gets the errors (a missing file is no error).
  void LoadSounds(const TProject& project);
  // Plays what is due now. An error ends the pass and goes to the sink.
  void TickSounds();

 private:
  static constexpr int kCount = TProject::kSoundCount;

  TSoundEffect& m_player;
  IClock& m_clock;
  TRandom& m_random;
  IErrorSink& m_errors;
  TSoundFolders m_folders;
  std::function<void(const std::string&)> m_setTitle;

  int m_used = 0;  // the records of the loaded picture file
  std::array<TSoundParam, kCount> m_records{};
  std::array<bool, kCount> SoundReady{}, SoundStarted{};
  std::array<uint32_t, kCount> SoundSince{};
  std::array<int32_t, kCount> SoundWait{};
};

}  // namespace kx
