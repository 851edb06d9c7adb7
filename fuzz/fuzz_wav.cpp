// Fuzzes the WAV reader: the input is a sound file. Whatever it claims, the
// reader either refuses it or describes whole frames inside the input that
// the sound channels take, and the canonical image it makes reads back as
// the same sound.
#include <cstdlib>

#include "devices/uSound.h"
#include "fuzz/FuzzSupport.h"
#include "sound/uWavFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kx::TMemorySource source({data, size});
  kx::TWavInfo info;
  try {
    info = kx::ParseWav(source);
  } catch (const kx::TSoundError&) {
    return 0;
  }
  if (info.BlockAlign == 0 || info.DataBytes == 0 || info.DataBytes % info.BlockAlign != 0 ||
      info.DataOffset + info.DataBytes > size)
    std::abort();
  // The file route: read whole, then the canonical image parsed again.
  const std::string path = kxfuzz::WriteInput("sound.wav", data, size);
  const kx::TWavSound sound = kx::ReadWavFile(path);
  kx::CheckPcmSound({path, sound.Info.Format(), sound.Samples});  // what the reader accepts, the channels take
  const std::string image = kx::CanonicalWav(sound);
  kx::TMemorySource again({reinterpret_cast<const uint8_t*>(image.data()), image.size()});
  const kx::TWavInfo back = kx::ParseWav(again);
  if (back.Frames() != info.Frames() || back.SampleRate != info.SampleRate || back.DataOffset != 44) std::abort();
  return 0;
}
