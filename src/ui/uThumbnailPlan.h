// Which thumbnails of a long picture list a grid keeps decoded: the cells in
// view first, then those nearest to them, never more than a cap; the ones
// farthest from the view are dropped when the cap is passed, and decoded
// again when they come back near it. Plain bookkeeping, no drawing, no threads.
#pragma once

#include <cstddef>
#include <vector>

namespace kx {

// The cells on screen: pictures First .. First + Count - 1.
struct TThumbnailView {
  size_t First = 0, Count = 0;
  bool operator==(const TThumbnailView&) const = default;
};

class TThumbnailPlan {
 public:
  TThumbnailPlan() = default;
  TThumbnailPlan(size_t pictures, size_t cap);

  size_t Pictures() const { return m_held.size(); }
  size_t Cap() const { return m_cap; }
  size_t HeldCount() const { return m_heldCount; }
  bool Held(size_t index) const { return index < m_held.size() && m_held[index]; }

  // How far a picture lies from the view, in pictures (0 inside it).
  static size_t Distance(const TThumbnailView& view, size_t index);
  // The pictures to decode for this view, in the order to decode them: those
  // in view in reading order, then the others nearest first (the one after
  // the view before the one before it at equal distance), as many as fit
  // under the cap with the view's own; none that is already held.
  std::vector<size_t> Wanted(const TThumbnailView& view) const;
  // A decoded thumbnail has arrived.
  void Hold(size_t index);
  // Drops the held thumbnails farthest from the view until no more than the
  // cap are held, and returns them; the caller frees their bitmaps.
  std::vector<size_t> Trim(const TThumbnailView& view);

 private:
  std::vector<bool> m_held;
  size_t m_heldCount = 0;
  size_t m_cap = 0;
};

}  // namespace kx
