// The order of a show's pictures: which one comes next for the show order
// the user chose, and the way past pictures that fail to load.
//
// ShowImageMode 0 (all pictures, random) and 2 (the ticked pictures, random)
// draw from the generator the order is given, never the same picture twice
// in a row; 1 (all pictures, in order), 3 (one selected picture) and any
// other value go through the list and start over after its end. The order
// draws only when asked for a next picture, one draw per picture (more when
// a draw repeats the current one), so for a given list and mode the pictures
// it picks depend on the generator's state at those calls and on nothing
// else: a picture drawn ahead is the one the order moves to.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "package/uKXProject.h"
#include "raster/uRandom.h"

namespace kx {

// The pictures of the file list whose state is "TRUE", in list order.
std::vector<std::string> EnabledPictures(const TKXCFileList& files);

class TSlideshowOrder {
 public:
  // random must outlive the order.
  TSlideshowOrder(std::vector<std::string> showList, int32_t showImageMode, TRandom& random);

  const std::vector<std::string>& ShowList() const { return m_showList; }
  bool Empty() const { return m_showList.empty(); }
  // Modes 0 and 2.
  bool RandomOrder() const { return m_showImageMode == 0 || m_showImageMode == 2; }

  // The index that follows index: in order index + 1, and 0 after the last
  // entry; at random 0 for a list of fewer than two entries, otherwise
  // draws from 0 to count - 1 until the draw differs from index.
  int32_t NextPictureIndex(int32_t index);

  // -1 and "" until Begin.
  int32_t CurrentIndex() const { return m_current; }
  const std::string& CurrentName() const;

  // The first picture becomes the current one: NextPictureIndex(-1). The
  // list must not be empty.
  void Begin();
  // The next picture becomes the current one: the one drawn ahead, else
  // NextPictureIndex(current) now.
  void Advance();
  // The next picture, drawn now unless it was already drawn ahead since the
  // last Advance; Advance then moves to it.
  int32_t DrawAhead();
  std::optional<int32_t> DrawnAhead() const { return m_next; }

  enum class TLoad {
    Loaded,    // the current picture (maybe after some that failed) was loaded
    Kept,      // the current picture is the one already loaded
    AllFailed  // every picture of the list has failed
  };
  // Loads the current picture with load, which throws when the picture
  // cannot be shown. A picture that fails is passed over at once: the next
  // of the order is tried in the same call, and a failed picture is never
  // tried again. When the order comes to loadedName (the picture on the
  // screen) nothing is loaded and that one stays. When every picture has
  // failed the call gives up; FirstFailure then says why.
  TLoad LoadOrMoveOn(const std::string& loadedName,
                     const std::function<void(int32_t index, const std::string& name)>& load);
  bool Failed(const std::string& name) const { return m_failedNames.contains(name); }
  // "File: <name>" CR LF <message> of the first picture that failed.
  const std::string& FirstFailure() const { return m_firstFailure; }

 private:
  std::vector<std::string> m_showList;
  int32_t m_showImageMode;
  TRandom& m_random;
  int32_t m_current = -1;
  std::optional<int32_t> m_next;        // drawn ahead
  std::set<std::string> m_failedNames;  // never tried again
  std::string m_firstFailure;
};

}  // namespace kx
