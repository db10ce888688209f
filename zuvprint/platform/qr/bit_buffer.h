// A growing sequence of bits, most significant bit of each value first, as
// the data codewords of a symbol are written.
#pragma once

#include <cstdint>
#include <vector>

namespace zuvprint::platform::qr {

class BitBuffer {
 public:
  void Append(std::uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) bits_.push_back(static_cast<std::uint8_t>((value >> i) & 1));
  }
  void Append(const BitBuffer& other) { bits_.insert(bits_.end(), other.bits_.begin(), other.bits_.end()); }
  int Size() const { return static_cast<int>(bits_.size()); }
  bool Bit(int i) const { return bits_[static_cast<std::size_t>(i)] != 0; }

  // The bits as bytes; the last byte is filled up with zeros.
  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> bytes((bits_.size() + 7) / 8);
    for (std::size_t i = 0; i < bits_.size(); ++i) bytes[i / 8] |= static_cast<std::uint8_t>(bits_[i] << (7 - i % 8));
    return bytes;
  }

 private:
  std::vector<std::uint8_t> bits_;
};

}  // namespace zuvprint::platform::qr
