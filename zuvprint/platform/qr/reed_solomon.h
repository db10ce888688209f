// Reed–Solomon error correction over GF(256) (polynomial x^8 + x^4 + x^3 +
// x^2 + 1) and the interleaving of the blocks into the final codewords.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/qr/qr_version.h"

namespace zuvprint::platform::qr {

// The ecCount error-correction codewords of data: the remainder of data(x) ·
// x^ecCount divided by the generator (x − α^0)(x − α^1)…(x − α^(ecCount−1)).
std::vector<std::uint8_t> ErrorCorrection(std::span<const std::uint8_t> data, int ecCount);

// The data codewords cut into the layout's blocks, each with its error
// correction, read out column by column: first the data codewords of all
// blocks, then their error-correction codewords.
std::vector<std::uint8_t> InterleaveBlocks(const std::vector<std::uint8_t>& data, const BlockLayout& layout);

}  // namespace zuvprint::platform::qr
