// Fuzzes the editing of an idle daemon's configuration file: any text the
// install accepts (plain text not yet running the show) gets the entry added
// and, taken out again, comes back byte for byte; removing from any text
// never fails. The first byte picks the daemon and whether the file existed.
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "tools/uIdleDaemons.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  using kxtool::TIdleDaemon;
  const TIdleDaemon daemon = data[0] & 1 ? TIdleDaemon::Hypridle : TIdleDaemon::Swayidle;
  const bool exists = (data[0] & 2) == 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  // Quotes, blanks, "#" and pattern characters in the path.
  const std::string installed = "/home/it's a #home/[x] (1)+.local/share/kxcsaver/Lake.scr";
  const std::string entry = kxtool::IdleEntry(daemon, "Lake", installed);
  (void)kxtool::RemoveIdleEntry(text, entry);
  if (!kxtool::IsPlainText(text) || text.find(kxtool::IdleShowText(daemon, installed)) != std::string::npos)
    return 0;
  if (!exists && !text.empty()) return 0;
  const std::string added = kxtool::AddIdleEntry(text, entry, exists);
  const std::optional<kxtool::TRemovedEntry> removed = kxtool::RemoveIdleEntry(added, entry);
  if (!removed || removed->Text != text || removed->MadeByInstall == exists) std::abort();
  return 0;
}
