#include "platform/font_height.h"

#include <cstdint>
#include <cstdlib>

namespace zuvprint::platform {

int FontHeightForPoints(int points, int dpi) {
  // MulDiv: the product in 64 bits, rounded half away from zero. Beyond the
  // int range MulDiv answers -1, so the height becomes 1.
  const std::int64_t product = std::int64_t{points} * dpi;
  const std::int64_t rounded = (std::llabs(product) + 36) / 72;
  if (rounded > INT32_MAX) return 1;
  return static_cast<int>(product < 0 ? rounded : -rounded);
}

}  // namespace zuvprint::platform
