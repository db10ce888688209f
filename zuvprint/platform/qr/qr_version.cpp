#include "platform/qr/qr_version.h"

namespace zuvprint::platform::qr {

namespace {

// Level L: error-correction codewords per block and number of blocks, by
// version; the data codewords follow from the version's capacity.
constexpr int kEcPerBlock[kMaxVersion] = {7,  10, 15, 20, 26, 18, 20, 24, 30, 18, 20, 24, 26, 30,
                                          22, 24, 28, 30, 28, 28, 28, 28, 30, 30, 26, 28, 30, 30,
                                          30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30};
constexpr int kBlocks[kMaxVersion] = {1, 1, 1, 1,  1,  2,  2,  2,  2,  4,  4,  4,  4,  4,  6,  6,  6,  6,  7,  8,
                                      8, 9, 9, 10, 12, 12, 12, 13, 14, 15, 16, 17, 18, 19, 19, 20, 21, 22, 24, 25};

// The modules left for codewords once the function patterns and the
// format and version information are placed, in whole codewords.
int TotalCodewords(int version) {
  int modules = (16 * version + 128) * version + 64;
  if (version >= 2) {
    int align = version / 7 + 2;
    modules -= (25 * align - 10) * align - 55;
  }
  if (version >= 7) modules -= 36;
  return modules / 8;
}

}  // namespace

BlockLayout LevelLBlocks(int version) {
  BlockLayout b;
  b.totalCodewords = TotalCodewords(version);
  b.ecPerBlock = kEcPerBlock[version - 1];
  b.blocks = kBlocks[version - 1];
  b.dataCodewords = b.totalCodewords - b.ecPerBlock * b.blocks;
  b.shortBlocks = b.blocks - b.totalCodewords % b.blocks;
  b.shortBlockData = b.totalCodewords / b.blocks - b.ecPerBlock;
  return b;
}

std::vector<int> AlignmentCentres(int version) {
  if (version == 1) return {};
  const int count = version / 7 + 2;
  // Evenly spaced from the far side back to column 6, the spacing even;
  // version 32 is the one exception to the rounding.
  const int step = version == 32 ? 26 : (version * 4 + count * 2 + 1) / (count * 2 - 2) * 2;
  std::vector<int> centres(count);
  centres[0] = 6;
  for (int i = count - 1, pos = SymbolSize(version) - 7; i >= 1; --i, pos -= step) centres[i] = pos;
  return centres;
}

}  // namespace zuvprint::platform::qr
