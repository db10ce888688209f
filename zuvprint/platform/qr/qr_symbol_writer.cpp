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

  // Each mask on a copy of the unmasked symbol, with its own format
  // information, as the penalty counts the whole symbol.
  int bestPenalty = INT_MAX;
  std::optional<SymbolMatrix> best;
  for (int mask = 0; mask < kMasks; ++mask) {
    SymbolMatrix candidate = matrix;
    candidate.ApplyMask(mask);
    candidate.DrawFormat(mask);
    const int penalty = MaskPenalty(candidate.Modules(), candidate.Size());
    if (penalty < bestPenalty) bestPenalty = penalty, best = std::move(candidate);
  }

  QrModules symbol;
  symbol.size = best->Size();
  symbol.dark.assign(best->Modules().begin(), best->Modules().end());
  return symbol;
}

}  // namespace zuvprint::platform::qr
