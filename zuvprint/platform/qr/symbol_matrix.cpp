#include "platform/qr/symbol_matrix.h"

#include <cstdlib>

#include "platform/qr/qr_version.h"

namespace zuvprint::platform::qr {

namespace {

constexpr std::uint32_t kLevelLBits = 0b01;

// A BCH code's check bits: the remainder of data · x^degree divided by the
// generator polynomial (of that degree).
std::uint32_t BchRemainder(std::uint32_t data, std::uint32_t generator, int degree) {
  std::uint32_t value = data << degree;
  for (int bit = 31; bit >= degree; --bit)
    if (value & (1u << bit)) value ^= generator << (bit - degree);
  return value;
}

// 15 bits: level and mask, 10 check bits, XOR 101010000010010 so that the
// format information is never all light.
std::uint32_t FormatBits(int mask) {
  const std::uint32_t data = (kLevelLBits << 3) | static_cast<std::uint32_t>(mask);
  return ((data << 10) | BchRemainder(data, 0x537, 10)) ^ 0x5412;
}

// 18 bits: the version and 12 check bits.
std::uint32_t VersionBits(int version) {
  const auto data = static_cast<std::uint32_t>(version);
  return (data << 12) | BchRemainder(data, 0x1F25, 12);
}

}  // namespace

SymbolMatrix::SymbolMatrix(int version)
    : size_(SymbolSize(version)),
      dark_(static_cast<std::size_t>(size_) * size_, 0),
      function_(static_cast<std::size_t>(size_) * size_, 0) {
  // Timing patterns first: the finders and alignment patterns overwrite
  // their ends.
  for (int i = 0; i < size_; ++i) {
    SetFunction(6, i, i % 2 == 0);
    SetFunction(i, 6, i % 2 == 0);
  }
  DrawFinder(3, 3);
  DrawFinder(3, size_ - 4);
  DrawFinder(size_ - 4, 3);
  const std::vector<int> centres = AlignmentCentres(version);
  const std::size_t last = centres.size() - 1;
  for (std::size_t i = 0; i < centres.size(); ++i)
    for (std::size_t j = 0; j < centres.size(); ++j)
      if (!((i == 0 && j == 0) || (i == 0 && j == last) || (i == last && j == 0)))  // finder corners
        DrawAlignment(centres[i], centres[j]);
  DrawFormat(0);  // reserves its modules; drawn again for the chosen mask
  SetFunction(size_ - 8, 8, true);
  if (version >= 7) DrawVersion(version);
}

void SymbolMatrix::SetFunction(int row, int column, bool dark) {
  dark_[Index(row, column)] = dark;
  function_[Index(row, column)] = 1;
}

// The 7 × 7 pattern with its light separator, clipped at the symbol's edge.
void SymbolMatrix::DrawFinder(int row, int column) {
  for (int dr = -4; dr <= 4; ++dr)
    for (int dc = -4; dc <= 4; ++dc) {
      const int r = row + dr, c = column + dc;
      if (r < 0 || r >= size_ || c < 0 || c >= size_) continue;
      const int ring = std::max(std::abs(dr), std::abs(dc));
      SetFunction(r, c, ring != 2 && ring != 4);
    }
}

void SymbolMatrix::DrawAlignment(int row, int column) {
  for (int dr = -2; dr <= 2; ++dr)
    for (int dc = -2; dc <= 2; ++dc) SetFunction(row + dr, column + dc, std::max(std::abs(dr), std::abs(dc)) != 1);
}

void SymbolMatrix::DrawFormat(int mask) {
  const std::uint32_t bits = FormatBits(mask);
  auto bit = [&](int i) { return ((bits >> i) & 1) != 0; };
  // Around the upper left finder: bits 0–7 down column 8 (skipping the
  // timing row), bits 8–14 leftwards along row 8.
  for (int i = 0; i <= 5; ++i) SetFunction(i, 8, bit(i));
  SetFunction(7, 8, bit(6));
  SetFunction(8, 8, bit(7));
  SetFunction(8, 7, bit(8));
  for (int i = 9; i < 15; ++i) SetFunction(8, 14 - i, bit(i));
  // The copy: bits 0–7 along row 8 from the right edge, 8–14 up column 8
  // from below the dark module.
  for (int i = 0; i < 8; ++i) SetFunction(8, size_ - 1 - i, bit(i));
  for (int i = 8; i < 15; ++i) SetFunction(size_ - 15 + i, 8, bit(i));
}

// Two 6 × 3 copies beside the lower left and upper right finders.
void SymbolMatrix::DrawVersion(int version) {
  const std::uint32_t bits = VersionBits(version);
  for (int i = 0; i < 18; ++i) {
    const bool dark = ((bits >> i) & 1) != 0;
    const int a = size_ - 11 + i % 3, b = i / 3;
    SetFunction(a, b, dark);
    SetFunction(b, a, dark);
  }
}

void SymbolMatrix::PlaceCodewords(const std::vector<std::uint8_t>& codewords) {
  const std::size_t totalBits = codewords.size() * 8;
  std::size_t i = 0;
  // Column pairs from the right; the vertical timing column is skipped.
  for (int right = size_ - 1; right >= 1; right -= 2) {
    if (right == 6) right = 5;
    const bool upward = ((size_ - 1 - right) / 2) % 2 == 0;
    for (int step = 0; step < size_; ++step) {
      const int row = upward ? size_ - 1 - step : step;
      for (int column = right; column >= right - 1; --column) {
        const std::size_t at = Index(row, column);
        if (function_[at]) continue;
        dark_[at] = i < totalBits && ((codewords[i / 8] >> (7 - i % 8)) & 1);
        ++i;
      }
    }
  }
}

template <typename Inverts>
void SymbolMatrix::InvertDataWhere(Inverts inverts) {
  for (int row = 0; row < size_; ++row)
    for (int column = 0; column < size_; ++column) {
      const std::size_t at = Index(row, column);
      dark_[at] ^= static_cast<std::uint8_t>(!function_[at] && inverts(row, column));
    }
}

// One loop per mask, so that the pattern's test is not chosen module by module.
void SymbolMatrix::ApplyMask(int mask) {
  switch (mask) {
    case 0:
      return InvertDataWhere([](int r, int c) { return MaskInverts(0, r, c); });
    case 1:
      return InvertDataWhere([](int r, int c) { return MaskInverts(1, r, c); });
    case 2:
      return InvertDataWhere([](int r, int c) { return MaskInverts(2, r, c); });
    case 3:
      return InvertDataWhere([](int r, int c) { return MaskInverts(3, r, c); });
    case 4:
      return InvertDataWhere([](int r, int c) { return MaskInverts(4, r, c); });
    case 5:
      return InvertDataWhere([](int r, int c) { return MaskInverts(5, r, c); });
    case 6:
      return InvertDataWhere([](int r, int c) { return MaskInverts(6, r, c); });
    default:
      return InvertDataWhere([](int r, int c) { return MaskInverts(7, r, c); });
  }
}

}  // namespace zuvprint::platform::qr
