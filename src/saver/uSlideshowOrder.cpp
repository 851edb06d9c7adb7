#include "saver/uSlideshowOrder.h"

#include <exception>
#include <utility>

namespace kx {

std::vector<std::string> EnabledPictures(const TKXCFileList& files) {
  std::vector<std::string> list;
  for (size_t i = 0; i < files.Names.size() && i < files.States.size(); ++i)
    if (files.States[i] == "TRUE") list.push_back(files.Names[i]);
  return list;
}

TSlideshowOrder::TSlideshowOrder(std::vector<std::string> showList, int32_t showImageMode, TRandom& random)
    : m_showList(std::move(showList)), m_showImageMode(showImageMode), m_random(random) {}

int32_t TSlideshowOrder::NextPictureIndex(int32_t index) {
  const auto count = int32_t(m_showList.size());
  if (!RandomOrder()) return index + 1 >= count ? 0 : index + 1;
  if (count < 2) return 0;
  int32_t next;
  do next = int32_t(m_random.Random(uint32_t(count)));
  while (next == index);
  return next;
}

const std::string& TSlideshowOrder::CurrentName() const {
  static const std::string none;
  return m_current >= 0 ? m_showList[size_t(m_current)] : none;
}

void TSlideshowOrder::Begin() {
  m_next.reset();
  m_current = NextPictureIndex(-1);
}

void TSlideshowOrder::Advance() {
  m_current = m_next ? *m_next : NextPictureIndex(m_current);
  m_next.reset();
}

int32_t TSlideshowOrder::DrawAhead() {
  if (!m_next) m_next = NextPictureIndex(m_current);
  return *m_next;
}

TSlideshowOrder::TLoad TSlideshowOrder::LoadOrMoveOn(
    const std::string& loadedName, const std::function<void(int32_t index, const std::string& name)>& load) {
  // Counted once a picture has failed: a load that succeeds at once, as
  // nearly all do, costs no pass over a list of thousands.
  std::optional<size_t> distinct;
  for (;;) {
    const std::string& name = CurrentName();
    if (name == loadedName) return TLoad::Kept;
    if (!m_failedNames.contains(name)) {
      try {
        load(m_current, name);
        return TLoad::Loaded;
      } catch (const std::exception& e) {
        if (m_failedNames.empty()) m_firstFailure = "File: " + name + "\r\n" + e.what();
        m_failedNames.insert(name);
      }
    }
    if (!distinct) distinct = std::set<std::string>(m_showList.begin(), m_showList.end()).size();
    if (m_failedNames.size() >= *distinct) return TLoad::AllFailed;
    m_next.reset();
    m_current = NextPictureIndex(m_current);
  }
}

}  // namespace kx
