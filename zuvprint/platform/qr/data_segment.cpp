#include "platform/qr/data_segment.h"

#include <algorithm>
#include <string>

#include "platform/qr/qr_version.h"
#include "platform/utf8.h"

namespace zuvprint::platform::qr {

namespace {

constexpr std::string_view kAlphanumeric = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
constexpr std::uint32_t kEciIndicator = 0b0111;
constexpr std::uint32_t kUtf8Eci = 26;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int AlphanumericValue(char c) {
  std::size_t i = kAlphanumeric.find(c);
  return i == std::string_view::npos ? -1 : static_cast<int>(i);
}

std::uint32_t ModeIndicator(Mode mode) {
  switch (mode) {
    case Mode::kNumeric:
      return 0b0001;
    case Mode::kAlphanumeric:
      return 0b0010;
    case Mode::kByte:
      break;
  }
  return 0b0100;
}

// Bits of the character count: the versions fall into three ranges.
int CountBits(Mode mode, int version) {
  const int range = version <= 9 ? 0 : version <= 26 ? 1 : 2;
  constexpr int kBits[3][3] = {{10, 12, 14}, {9, 11, 13}, {8, 16, 16}};
  return kBits[static_cast<int>(mode)][range];
}

// Digits in groups of three as 10 bits, a last group of two as 7, of one as 4.
void AppendNumeric(std::string_view text, BitBuffer& bits) {
  for (std::size_t i = 0; i < text.size(); i += 3) {
    std::size_t n = std::min<std::size_t>(3, text.size() - i);
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < n; ++k) value = value * 10 + static_cast<std::uint32_t>(text[i + k] - '0');
    bits.Append(value, static_cast<int>(n * 3 + 1));
  }
}

// Pairs as 45 × first + second in 11 bits, a last single character in 6.
void AppendAlphanumeric(std::string_view text, BitBuffer& bits) {
  std::size_t i = 0;
  for (; i + 1 < text.size(); i += 2)
    bits.Append(static_cast<std::uint32_t>(AlphanumericValue(text[i]) * 45 + AlphanumericValue(text[i + 1])), 11);
  if (i < text.size()) bits.Append(static_cast<std::uint32_t>(AlphanumericValue(text[i])), 6);
}

}  // namespace

Mode ChooseMode(std::string_view text) {
  if (text.empty()) return Mode::kByte;
  if (std::all_of(text.begin(), text.end(), IsDigit)) return Mode::kNumeric;
  if (std::all_of(text.begin(), text.end(), [](char c) { return AlphanumericValue(c) >= 0; }))
    return Mode::kAlphanumeric;
  return Mode::kByte;
}

DataSegment MakeSegment(std::string_view text) {
  DataSegment s{ChooseMode(text), {}, {}, static_cast<int>(text.size())};
  if (s.mode == Mode::kByte && !IsAscii(text) && IsUtf8(text)) {
    s.header.Append(kEciIndicator, 4);
    s.header.Append(kUtf8Eci, 8);
  }
  s.header.Append(ModeIndicator(s.mode), 4);
  switch (s.mode) {
    case Mode::kNumeric:
      AppendNumeric(text, s.data);
      break;
    case Mode::kAlphanumeric:
      AppendAlphanumeric(text, s.data);
      break;
    case Mode::kByte:
      for (char c : text) s.data.Append(static_cast<unsigned char>(c), 8);
      break;
  }
  return s;
}

std::optional<int> SmallestVersion(const DataSegment& segment) {
  for (int version = kMinVersion; version <= kMaxVersion; ++version) {
    const int bits = segment.header.Size() + CountBits(segment.mode, version) + segment.data.Size();
    if ((bits + 7) / 8 <= LevelLBlocks(version).dataCodewords) return version;
  }
  return std::nullopt;
}

std::vector<std::uint8_t> DataCodewords(const DataSegment& segment, int version) {
  const int capacity = LevelLBlocks(version).dataCodewords;
  BitBuffer bits = segment.header;
  bits.Append(static_cast<std::uint32_t>(segment.count), CountBits(segment.mode, version));
  bits.Append(segment.data);
  // Up to four zero bits end the data, then zeros up to a whole codeword.
  bits.Append(0, std::min(4, capacity * 8 - bits.Size()));
  std::vector<std::uint8_t> codewords = bits.Bytes();
  for (std::size_t i = 0; codewords.size() < static_cast<std::size_t>(capacity); ++i)
    codewords.push_back(i % 2 == 0 ? 0xEC : 0x11);
  return codewords;
}

}  // namespace zuvprint::platform::qr
