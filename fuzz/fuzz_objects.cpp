// Fuzzes the objects text of picture files: the list read from any INI text,
// each object's settings written and read back (the second writing must equal
// the first), and every object's motion and display cycle run for a second
// of steps with whatever settings the text gave.
#include <cstdlib>
#include <string>
#include <string_view>

#include "animation/uObject.h"
#include "raster/uBitmap.h"
#include "raster/uRandom.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  kx::TAnimObjects list;
  list.LoadFromText(text);
  std::string saved;
  for (size_t i = 0; i < list.Count(); ++i) saved += list[i].SaveToText();
  kx::TAnimObjects again;
  again.LoadFromText(saved);
  if (again.Count() != list.Count()) std::abort();
  std::string resaved;
  for (size_t i = 0; i < again.Count(); ++i) resaved += again[i].SaveToText();
  if (resaved != saved) std::abort();

  kx::TRandom random(1);
  for (size_t i = 0; i < list.Count() && i < 8; ++i) {
    kx::TAnimObject& o = list[i];
    o.DesignWidth = 64, o.DesignHeight = 48;
    o.DisplayRect = {0, 0, 128, 96};
    o.PictureWidth = 16, o.PictureHeight = 8;
    o.TAnimObject::Start(1000, random, false);  // the common start, without a picture file
    o.CatchUp(2000);
    (void)o.DrawRect();
  }
  return 0;
}
