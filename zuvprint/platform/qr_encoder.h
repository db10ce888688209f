// QR Code symbols from the platform's encoder (zxing-cpp on Linux, the
// program's own in platform/qr on Windows).
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace zuvprint::platform {

// The modules of a symbol, without a quiet zone: size × size, row by row.
struct QrModules {
  int size = 0;  // 0: no symbol
  std::vector<bool> dark;
  bool Dark(int row, int column) const { return dark[static_cast<std::size_t>(row) * size + column]; }
};

// Encodes text at error-correction level L, the mode, version and mask of
// the encoder's choice; a text that is not ASCII goes in as UTF-8 with its
// ECI, bytes that are not UTF-8 go in unchanged without an ECI. No symbol
// (size 0) for the empty text or when no version can hold the data. Both
// backends give the same modules.
QrModules EncodeQrLevelL(std::string_view text);

}  // namespace zuvprint::platform
