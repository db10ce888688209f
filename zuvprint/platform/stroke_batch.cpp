#include "platform/stroke_batch.h"

#include <functional>
#include <numeric>

namespace zuvprint::platform {

std::size_t StrokeBatch::OpenEndHash::operator()(const OpenEnd& e) const {
  std::size_t h = std::hash<std::int64_t>{}((static_cast<std::int64_t>(e.x) << 32) ^ static_cast<std::uint32_t>(e.y));
  h ^= std::hash<std::int64_t>{}(e.dx * 1000003 + e.dy) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
  return h;
}

void StrokeBatch::Add(int x1, int y1, int x2, int y2) {
  // Differences in 64 bits: the ends may lie anywhere in the int range.
  std::int64_t dx = static_cast<std::int64_t>(x2) - x1, dy = static_cast<std::int64_t>(y2) - y1;
  if (dx == 0 && dy == 0) {
    segments_.push_back({x1, y1, x2, y2});
    return;
  }
  const std::int64_t g = std::gcd(dx, dy);
  dx /= g;
  dy /= g;
  auto it = ends_.find(OpenEnd{x1, y1, dx, dy});
  if (it != ends_.end()) {
    const std::size_t index = it->second;
    ends_.erase(it);
    segments_[index].x2 = x2;
    segments_[index].y2 = y2;
    ends_[OpenEnd{x2, y2, dx, dy}] = index;
    return;
  }
  segments_.push_back({x1, y1, x2, y2});
  ends_[OpenEnd{x2, y2, dx, dy}] = segments_.size() - 1;
}

void StrokeBatch::Clear() {
  segments_.clear();
  ends_.clear();
}

}  // namespace zuvprint::platform
