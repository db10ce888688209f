// The program's own QR Code encoder (model 2, level L), for platforms
// without an encoding library.
#pragma once

#include <string_view>

#include "platform/qr_encoder.h"

namespace zuvprint::platform::qr {

// The text in one segment of the mode ChooseMode picks (byte mode as
// MakeSegment describes), in the smallest version that holds it, with the
// mask of the lowest penalty (the first of equal ones). No symbol (size 0)
// when version 40 cannot hold it, nor for the empty text.
QrModules WriteQrSymbol(std::string_view text);

}  // namespace zuvprint::platform::qr
