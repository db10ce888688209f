// The penalty of a finished symbol by the four rules that choose its mask.
#pragma once

#include <cstdint>
#include <vector>

namespace zuvprint::platform::qr {

// modules: size × size, row by row, nonzero for dark. The sum of
//  1. 3 + (n − 5) for each run of n ≥ 5 modules of one colour in a row or
//     column;
//  2. 3 for each 2 × 2 square of one colour, squares overlapping;
//  3. 40 for each dark-light-dark-dark-dark-light-dark run in a row or column
//     with four light modules before or after it, the outside of the symbol
//     counting as light (a run with light on both sides counts once);
//  4. 10 for each whole 5 % by which the dark share differs from 50 %.
int MaskPenalty(const std::vector<std::uint8_t>& modules, int size);

}  // namespace zuvprint::platform::qr
