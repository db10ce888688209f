#include "platform/qr/mask_penalty.h"

#include <algorithm>
#include <cstdlib>

namespace zuvprint::platform::qr {

namespace {

constexpr int kRunPenalty = 3;
constexpr int kSquarePenalty = 3;
constexpr int kFinderLikePenalty = 40;
constexpr int kBalancePenalty = 10;
constexpr unsigned kFinderLike = 0b1011101;  // the last seven modules, the latest lowest

// Rules 1 and 3 along one row or column: `size` modules from `line`, `stride`
// apart.
int LinePenalty(const std::uint8_t* line, int size, int stride) {
  auto dark = [&](int i) { return line[static_cast<std::ptrdiff_t>(i) * stride] != 0; };
  auto lightBetween = [&](int from, int to) {
    for (int i = std::max(from, 0); i < std::min(to, size); ++i)
      if (dark(i)) return false;
    return true;
  };
  int penalty = 0;
  int run = 0;
  unsigned window = 0;
  for (int i = 0; i < size; ++i) {
    const bool d = dark(i);
    if (i > 0 && d == dark(i - 1)) {
      ++run;
    } else {
      if (run >= 5) penalty += kRunPenalty + run - 5;
      run = 1;
    }
    window = ((window << 1) | d) & 0x7F;
    // The pattern ends here: modules i − 6 to i.
    if (i >= 6 && window == kFinderLike && (lightBetween(i - 10, i - 6) || lightBetween(i + 1, i + 5)))
      penalty += kFinderLikePenalty;
  }
  if (run >= 5) penalty += kRunPenalty + run - 5;
  return penalty;
}

}  // namespace

int MaskPenalty(const std::vector<std::uint8_t>& modules, int size) {
  const std::uint8_t* m = modules.data();
  int penalty = 0;
  for (int i = 0; i < size; ++i) {
    penalty += LinePenalty(m + static_cast<std::ptrdiff_t>(i) * size, size, 1);
    penalty += LinePenalty(m + i, size, size);
  }

  for (int r = 0; r + 1 < size; ++r) {
    const std::uint8_t* row = m + static_cast<std::ptrdiff_t>(r) * size;
    const std::uint8_t* next = row + size;
    for (int c = 0; c + 1 < size; ++c) {
      const bool v = row[c] != 0;
      if (v == (row[c + 1] != 0) && v == (next[c] != 0) && v == (next[c + 1] != 0)) penalty += kSquarePenalty;
    }
  }

  const long total = static_cast<long>(size) * size;
  const long darkCount = std::count_if(modules.begin(), modules.end(), [](std::uint8_t d) { return d != 0; });
  penalty += static_cast<int>(std::labs(darkCount * 2 - total) * 10 / total) * kBalancePenalty;
  return penalty;
}

}  // namespace zuvprint::platform::qr
