#include "sound/uSoundScheduler.h"

#include <exception>

#include "os/uFileAccess.h"
#include "package/uPackage.h"

namespace kx {

std::string FindSoundFile(const std::string& stored, const TSoundFolders& folders) {
  if (FileExists(stored)) return stored;
  const std::string name = FileNamePart(stored);
  if (name.empty()) return {};
  const std::string candidates[] = {
      folders.Work.empty() ? "" : folders.Work + name,
      folders.Shared.empty() ? "" : folders.Shared + "sounds/" + name,
      folders.Program.empty() ? "" : folders.Program + "sounds/" + name,
  };
  for (const std::string& path : candidates)
    if (FileExists(path)) return path;
  return {};
}

void TSoundScheduler::StopSounds() {
  m_player.StopAll();
  m_player.Clear();
  m_used = 0;
}

void TSoundScheduler::LoadSounds(const TProject& project) {
  try {
    m_used = 0;
    m_records = project.Sounds;
    const int used = project.UsedSoundCount();
    for (int c = 0; c < used; ++c) {
      m_used = c + 1;
      SoundReady[c] = SoundStarted[c] = false;
      SoundSince[c] = m_clock.Tick();
      const std::string path = FindSoundFile(m_records[c].Path(), m_folders);
      if (path.empty()) continue;
      if (m_setTitle) m_setTitle(path);
      SoundReady[c] = true;
      try {
        m_player.Load(c, path);
      } catch (const std::exception& e) {
        m_errors.Report("sound", path + ": " + e.what());
        SoundReady[c] = false;
        continue;
      }
      if (m_records[c].PlayMode == 1)
        SoundWait[c] = m_random.RandomRange(m_records[c].MinSeconds, m_records[c].MaxSeconds);
      else if (m_records[c].PlayMode == 2) SoundWait[c] = m_records[c].MinSeconds;
    }
  } catch (const std::exception& e) {
    // a sound that cannot be set up stays silent; the show goes on
    m_errors.Report("sound", e.what());
  }
}

void TSoundScheduler::TickSounds() {
  try {
    for (int i = 0; i < m_used; ++i) {
      if (!SoundReady[i]) continue;
      const TSoundParam& r = m_records[i];
      const int64_t elapsed = (m_clock.Tick() - SoundSince[i]) / 1000;
      switch (r.PlayMode) {
        case 0:
          if (!SoundStarted[i]) {
            SoundStarted[i] = true;
            m_player.Play(i, true);
          }
          break;
        case 1:
          if (elapsed >= SoundWait[i]) {
            SoundSince[i] = m_clock.Tick();
            SoundWait[i] = m_random.RandomRange(r.MinSeconds, r.MaxSeconds);
            m_player.Play(i, false);
          }
          break;
        case 2:
          if (elapsed >= r.MinSeconds) {
            SoundSince[i] = m_clock.Tick();
            m_player.Play(i, false);
          }
          break;
        default:
          break;
      }
    }
  } catch (const std::exception& e) {
    // a failing device leaves this pass silent
    m_errors.Report("sound", e.what());
  }
}

}  // namespace kx
