// The text as one data segment: its mode, an optional ECI header and the
// data bits, and the version that holds it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/qr/bit_buffer.h"

namespace zuvprint::platform::qr {

enum class Mode { kNumeric, kAlphanumeric, kByte };

// One mode for the whole text: numeric when it is all digits, alphanumeric
// when it is all of the 45 alphanumeric characters, otherwise (and for the
// empty text) byte mode.
Mode ChooseMode(std::string_view text);

struct DataSegment {
  Mode mode;
  BitBuffer header;  // the ECI designator, if any, and the mode indicator
  BitBuffer data;    // the characters, without the count
  int count;         // characters, in byte mode bytes
};

// Byte mode carries the text's bytes unchanged: ASCII without an ECI, valid
// UTF-8 with ECI 26 (UTF-8), any other bytes without an ECI, as they are.
DataSegment MakeSegment(std::string_view text);

// The smallest version whose data codewords hold the segment; none when
// even version 40 is too small.
std::optional<int> SmallestVersion(const DataSegment& segment);

// The segment with its count, the terminator and the pad codewords: the
// data codewords of the version.
std::vector<std::uint8_t> DataCodewords(const DataSegment& segment, int version);

}  // namespace zuvprint::platform::qr
