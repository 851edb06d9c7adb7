// Fuzzes the music length reader: the input is a music file of any kind
// (WAV, Ogg, FLAC, MPEG audio or anything else). It never crashes, and
// tells a length or none in bounded work.
#include "sound/uAudioDuration.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kx::TMemorySource source({data, size});
  (void)kx::AudioDurationMs(source);
  return 0;
}
