// The modules of one symbol: function patterns, format and version
// information, and the codewords placed in the remaining modules.
#pragma once

#include <cstdint>
#include <vector>

namespace zuvprint::platform::qr {

class SymbolMatrix {
 public:
  // The finder, separator, timing and alignment patterns, the dark module
  // and the version information; the format information's modules reserved.
  explicit SymbolMatrix(int version);

  // The codewords' bits, most significant first, in the two-column zigzag
  // from the lower right corner; modules beyond the last bit stay light.
  void PlaceCodewords(const std::vector<std::uint8_t>& codewords);

  // Inverts the data modules where the mask pattern is 1; applying the same
  // mask again undoes it.
  void ApplyMask(int mask);

  // The format information of level L and the mask, both copies.
  void DrawFormat(int mask);

  int Size() const { return size_; }
  bool Dark(int row, int column) const { return dark_[Index(row, column)] != 0; }
  const std::vector<std::uint8_t>& Modules() const { return dark_; }

 private:
  std::size_t Index(int row, int column) const { return static_cast<std::size_t>(row) * size_ + column; }
  void SetFunction(int row, int column, bool dark);
  void DrawFinder(int row, int column);
  void DrawAlignment(int row, int column);
  void DrawVersion(int version);
  template <typename Inverts>
  void InvertDataWhere(Inverts inverts);

  int size_;
  std::vector<std::uint8_t> dark_;
  std::vector<std::uint8_t> function_;  // 1: not a data module
};

// True where mask pattern 0 to 7 inverts the module.
inline bool MaskInverts(int mask, int row, int column) {
  switch (mask) {
    case 0:
      return (row + column) % 2 == 0;
    case 1:
      return row % 2 == 0;
    case 2:
      return column % 3 == 0;
    case 3:
      return (row + column) % 3 == 0;
    case 4:
      return (row / 2 + column / 3) % 2 == 0;
    case 5:
      return row * column % 2 + row * column % 3 == 0;
    case 6:
      return (row * column % 2 + row * column % 3) % 2 == 0;
    default:
      return ((row + column) % 2 + row * column % 3) % 2 == 0;
  }
}

}  // namespace zuvprint::platform::qr
