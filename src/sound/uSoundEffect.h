// The sound-effect player of the saver window: eight channels, each holding
// one sound of the current picture file, played at one volume in percent.
// Record i of a picture file always sounds on channel i, so a record whose
// file is missing leaves its own channel empty and moves no other record.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "devices/uSound.h"
#include "os/uErrorSink.h"

namespace kx {

class TSoundEffect {
 public:
  // Without channels (no audio device) every call is silent. A device that
  // fails while the player is released is reported to errors, which must
  // outlive the player.
  TSoundEffect(ISoundChannels* channels, IErrorSink& errors) : m_channels(channels), m_errors(errors) {}
  ~TSoundEffect();
  TSoundEffect(const TSoundEffect&) = delete;
  TSoundEffect& operator=(const TSoundEffect&) = delete;

  // The file of each channel loaded since the last Clear; "" where none is.
  std::vector<std::string> SoundFiles;
  int32_t Volume = 80;  // percent

  // Names the file in SoundFiles, then reads and checks it as a WAV sound
  // and puts it into the channel; a TSoundError for a file that cannot be
  // read, or a sound the channel refuses, passes to the caller after the name
  // was recorded, the channel then empty. A file is read once until the next
  // Clear: channels loaded with the same file share its one decoded sound
  // (and a file that failed fails again with the same message).
  void Load(int channel, const std::string& file);
  // Channel i at Volume x 40 - 4000 hundredths of a decibel (100 % is 0 dB,
  // 0 % is -40 dB), once or repeating. Nothing for a channel without a file.
  void Play(int i, bool loop);
  // Forgets the files named and read; sounds already in channels stay there.
  void Clear();
  void SetVolume(int32_t percent) { Volume = percent; }
  void StopAll();

 private:
  // A file as it was read since the last Clear: its sound, or why it has none.
  struct TReadFile {
    TPcmSound Sound;
    bool Failed = false;
    std::string Error;
  };
  const TReadFile& Read(const std::string& file);

  ISoundChannels* m_channels;
  std::map<std::string, TReadFile> m_read;
  IErrorSink& m_errors;
  bool m_mayPlay = false;  // a sound started since the last StopAll: the player stops it when released
};

}  // namespace kx
