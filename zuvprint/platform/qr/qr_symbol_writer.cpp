#include "platform/qr/qr_symbol_writer.h"

#include <climits>
#include <optional>

#include "platform/qr/data_segment.h"
#include "platform/qr/mask_penalty.h"
#include "platform/qr/qr_version.h"
#include "platform/qr/reed_solomon.h"
#include "platform/qr/symbol_matrix.h"

namespace zuvprint::platform::qr {

namespace {

constexpr int kMasks = 8;

}  // namespace

QrModules WriteQrSymbol(std::string_view text) {
  if (text.empty()) return {};  // a symbol that carries nothing: the Linux build's library refuses it too
  const DataSegment segment = MakeSegment(text);
  const std::optional<int> version = SmallestVersion(segment);
  if (!version) return {};
  SymbolMatrix matrix(*version);
  matrix.PlaceCodewords(InterleaveBlocks(DataCodewords(segment, *version), LevelLBlocks(*version)));

  int bestMask = 0;
  int bestPenalty = INT_MAX;
  for (int mask = 0; mask < kMasks; ++mask) {
    matrix.ApplyMask(mask);
    matrix.DrawFormat(mask);
    const int penalty = MaskPenalty(matrix.Modules(), matrix.Size());
    if (penalty < bestPenalty) bestMask = mask, bestPenalty = penalty;
    matrix.ApplyMask(mask);
  }
  matrix.ApplyMask(bestMask);
  matrix.DrawFormat(bestMask);

  QrModules symbol;
  symbol.size = matrix.Size();
  symbol.dark.assign(matrix.Modules().begin(), matrix.Modules().end());
  return symbol;
}

}  // namespace zuvprint::platform::qr
