#include "ui/uThumbnailPlan.h"

#include <algorithm>

namespace kx {

TThumbnailPlan::TThumbnailPlan(size_t pictures, size_t cap)
    : m_held(pictures, false), m_cap(std::max<size_t>(1, cap)) {}

size_t TThumbnailPlan::Distance(const TThumbnailView& view, size_t index) {
  if (index < view.First) return view.First - index;
  const size_t last = view.First + std::max<size_t>(view.Count, 1) - 1;
  return index > last ? index - last : 0;
}

std::vector<size_t> TThumbnailPlan::Wanted(const TThumbnailView& view) const {
  std::vector<size_t> order;
  const size_t n = m_held.size();
  if (n == 0) return order;
  const size_t first = std::min(view.First, n - 1);
  const size_t end = std::min(n, first + std::max<size_t>(view.Count, 1));
  // The view's own come in whatever the cap, so a window larger than it
  // still fills; the others until the cap is reached.
  size_t budget = std::max(m_cap, end - first);
  auto take = [&](size_t i) {
    if (!m_held[i]) order.push_back(i);
  };
  for (size_t i = first; i < end; ++i) take(i);
  budget -= end - first;
  for (size_t d = 1; budget > 0 && (end - 1 + d < n || d <= first); ++d) {
    if (end - 1 + d < n) {
      take(end - 1 + d);
      --budget;
    }
    if (budget > 0 && d <= first) {
      take(first - d);
      --budget;
    }
  }
  return order;
}

void TThumbnailPlan::Hold(size_t index) {
  if (index >= m_held.size() || m_held[index]) return;
  m_held[index] = true;
  ++m_heldCount;
}

std::vector<size_t> TThumbnailPlan::Trim(const TThumbnailView& view) {
  std::vector<size_t> dropped;
  if (m_heldCount <= m_cap) return dropped;
  // The farthest lie at the ends of the list: walk in from both, taking
  // the end that is farther from the view each time.
  size_t lo = 0, hi = m_held.size();
  while (m_heldCount > m_cap && lo < hi) {
    const bool fromLow = Distance(view, lo) >= Distance(view, hi - 1);
    if (Distance(view, fromLow ? lo : hi - 1) == 0) break;  // the view's own stay, whatever the cap
    const size_t i = fromLow ? lo++ : --hi;
    if (!m_held[i]) continue;
    m_held[i] = false;
    --m_heldCount;
    dropped.push_back(i);
  }
  return dropped;
}

}  // namespace kx
