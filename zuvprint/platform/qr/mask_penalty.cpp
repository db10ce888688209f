#include "platform/qr/mask_penalty.h"

#include <algorithm>
#include <cstdlib>

namespace zuvprint::platform::qr {

namespace {

constexpr int kRunPenalty = 3;
constexpr int kSquarePenalty = 3;
constexpr int kFinderLikePenalty = 40;
constexpr int kBalancePenalty = 10;

// One row or column, read through `at(i)` for i in [0, size).
template <typename At>
int LinePenalty(At at, int size) {
  int penalty = 0;
  int run = 0;
  for (int i = 0; i < size; ++i) {
    if (i > 0 && at(i) == at(i - 1)) {
      ++run;
    } else {
      if (run >= 5) penalty += kRunPenalty + run - 5;
      run = 1;
    }
  }
  if (run >= 5) penalty += kRunPenalty + run - 5;

  auto lightBetween = [&](int from, int to) {
    for (int i = std::max(from, 0); i < std::min(to, size); ++i)
      if (at(i)) return false;
    return true;
  };
  constexpr bool kFinderLike[7] = {true, false, true, true, true, false, true};
  for (int i = 0; i + 7 <= size; ++i) {
    bool match = true;
    for (int k = 0; k < 7 && match; ++k) match = (at(i + k) != 0) == kFinderLike[k];
    if (match && (lightBetween(i - 4, i) || lightBetween(i + 7, i + 11))) penalty += kFinderLikePenalty;
  }
  return penalty;
}

}  // namespace

int MaskPenalty(const std::vector<std::uint8_t>& modules, int size) {
  auto dark = [&](int row, int column) { return modules[static_cast<std::size_t>(row) * size + column]; };
  int penalty = 0;
  for (int r = 0; r < size; ++r) penalty += LinePenalty([&](int i) { return dark(r, i); }, size);
  for (int c = 0; c < size; ++c) penalty += LinePenalty([&](int i) { return dark(i, c); }, size);

  for (int r = 0; r + 1 < size; ++r)
    for (int c = 0; c + 1 < size; ++c) {
      const auto v = dark(r, c);
      if (v == dark(r, c + 1) && v == dark(r + 1, c) && v == dark(r + 1, c + 1)) penalty += kSquarePenalty;
    }

  const long total = static_cast<long>(size) * size;
  const long darkCount = std::count_if(modules.begin(), modules.end(), [](std::uint8_t m) { return m != 0; });
  penalty += static_cast<int>(std::labs(darkCount * 2 - total) * 10 / total) * kBalancePenalty;
  return penalty;
}

}  // namespace zuvprint::platform::qr
