// The measures of the QR Code versions 1 to 40 at error-correction level L:
// side, codewords, error-correction blocks, alignment pattern centres.
#pragma once

#include <vector>

namespace zuvprint::platform::qr {

constexpr int kMinVersion = 1;
constexpr int kMaxVersion = 40;

inline int SymbolSize(int version) { return 17 + 4 * version; }

// The codewords of one version at level L and how they split into blocks:
// the first `shortBlocks` blocks hold `shortBlockData` data codewords, the
// rest one more; every block has `ecPerBlock` error-correction codewords.
struct BlockLayout {
  int totalCodewords;
  int dataCodewords;
  int ecPerBlock;
  int blocks;
  int shortBlocks;
  int shortBlockData;
};

BlockLayout LevelLBlocks(int version);

// Row and column centres of the alignment patterns (none for version 1).
std::vector<int> AlignmentCentres(int version);

}  // namespace zuvprint::platform::qr
