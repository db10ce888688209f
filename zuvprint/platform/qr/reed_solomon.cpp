#include "platform/qr/reed_solomon.h"

#include <array>

namespace zuvprint::platform::qr {

namespace {

struct GaloisField {
  std::array<std::uint8_t, 255> exp{};
  std::array<int, 256> log{};

  constexpr GaloisField() {
    int x = 1;
    for (int i = 0; i < 255; ++i) {
      exp[i] = static_cast<std::uint8_t>(x);
      log[x] = i;
      x <<= 1;
      if (x & 0x100) x ^= 0x11D;
    }
  }

  constexpr std::uint8_t Multiply(std::uint8_t a, std::uint8_t b) const {
    return a == 0 || b == 0 ? 0 : exp[(log[a] + log[b]) % 255];
  }
};

constexpr GaloisField kField;

// Coefficients of the generator polynomial, highest power first, the
// leading 1 left out.
std::vector<std::uint8_t> Generator(int degree) {
  std::vector<std::uint8_t> g(static_cast<std::size_t>(degree), 0);
  g[static_cast<std::size_t>(degree) - 1] = 1;  // the polynomial 1, in the lowest place
  std::uint8_t root = 1;
  for (int i = 0; i < degree; ++i) {
    // Multiply by (x − root): shift up one power, add root times the old.
    for (std::size_t j = 0; j < g.size(); ++j) {
      g[j] = kField.Multiply(g[j], root);
      if (j + 1 < g.size()) g[j] ^= g[j + 1];
    }
    root = kField.Multiply(root, 2);
  }
  return g;
}

}  // namespace

std::vector<std::uint8_t> ErrorCorrection(std::span<const std::uint8_t> data, int ecCount) {
  const std::vector<std::uint8_t> generator = Generator(ecCount);
  std::vector<std::uint8_t> remainder(generator.size(), 0);
  for (std::uint8_t byte : data) {
    const std::uint8_t factor = byte ^ remainder[0];
    remainder.erase(remainder.begin());
    remainder.push_back(0);
    for (std::size_t i = 0; i < remainder.size(); ++i) remainder[i] ^= kField.Multiply(generator[i], factor);
  }
  return remainder;
}

std::vector<std::uint8_t> InterleaveBlocks(const std::vector<std::uint8_t>& data, const BlockLayout& layout) {
  std::vector<std::span<const std::uint8_t>> blocks;
  std::vector<std::vector<std::uint8_t>> ec;
  std::size_t start = 0;
  for (int b = 0; b < layout.blocks; ++b) {
    const std::size_t length = static_cast<std::size_t>(layout.shortBlockData + (b < layout.shortBlocks ? 0 : 1));
    blocks.emplace_back(data.data() + start, length);
    ec.push_back(ErrorCorrection(blocks.back(), layout.ecPerBlock));
    start += length;
  }
  std::vector<std::uint8_t> out;
  out.reserve(static_cast<std::size_t>(layout.totalCodewords));
  for (int i = 0; i <= layout.shortBlockData; ++i)
    for (const auto& block : blocks)
      if (static_cast<std::size_t>(i) < block.size()) out.push_back(block[static_cast<std::size_t>(i)]);
  for (int i = 0; i < layout.ecPerBlock; ++i)
    for (const auto& block : ec) out.push_back(block[static_cast<std::size_t>(i)]);
  return out;
}

}  // namespace zuvprint::platform::qr
