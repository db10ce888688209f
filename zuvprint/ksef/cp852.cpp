#include "ksef/cp852.h"

#include <array>

#include "platform/utf8.h"

namespace zuvprint {
namespace {

// Characters of the bytes 0x80 to 0xFF, checked against
// `iconv -f CP852 -t UTF-8` by the unit tests.
constexpr std::array<char16_t, 128> kHigh = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x016F, 0x0107, 0x00E7,  // 80
    0x0142, 0x00EB, 0x0150, 0x0151, 0x00EE, 0x0179, 0x00C4, 0x0106,  // 88
    0x00C9, 0x0139, 0x013A, 0x00F4, 0x00F6, 0x013D, 0x013E, 0x015A,  // 90
    0x015B, 0x00D6, 0x00DC, 0x0164, 0x0165, 0x0141, 0x00D7, 0x010D,  // 98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x0104, 0x0105, 0x017D, 0x017E,  // A0
    0x0118, 0x0119, 0x00AC, 0x017A, 0x010C, 0x015F, 0x00AB, 0x00BB,  // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x011A,  // B0
    0x015E, 0x2563, 0x2551, 0x2557, 0x255D, 0x017B, 0x017C, 0x2510,  // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x0102, 0x0103,  // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,  // C8
    0x0111, 0x0110, 0x010E, 0x00CB, 0x010F, 0x0147, 0x00CD, 0x00CE,  // D0
    0x011B, 0x2518, 0x250C, 0x2588, 0x2584, 0x0162, 0x016E, 0x2580,  // D8
    0x00D3, 0x00DF, 0x00D4, 0x0143, 0x0144, 0x0148, 0x0160, 0x0161,  // E0
    0x0154, 0x00DA, 0x0155, 0x0170, 0x00FD, 0x00DD, 0x0163, 0x00B4,  // E8
    0x00AD, 0x02DD, 0x02DB, 0x02C7, 0x02D8, 0x00A7, 0x00F7, 0x00B8,  // F0
    0x00B0, 0x00A8, 0x02D9, 0x0171, 0x0158, 0x0159, 0x25A0, 0x00A0,  // F8
};

// Decodes one UTF-8 character at text[i], advancing i; nothing for a
// malformed sequence (bad lead or continuation byte, overlong form,
// surrogate, beyond U+10FFFF).
std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& i) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = byte(i);
  std::size_t length;
  char32_t c;
  if (lead < 0x80) {
    ++i;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07;
  } else {
    return std::nullopt;
  }
  if (text.size() - i < length) return std::nullopt;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  i += length;
  return c;
}

}  // namespace

char32_t Cp852Char(unsigned char byte) { return byte < 0x80 ? byte : kHigh[byte - 0x80]; }

std::string Cp852ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char b : bytes) platform::AppendUtf8(out, Cp852Char(static_cast<unsigned char>(b)));
  return out;
}

std::optional<std::string> Utf8ToCp852(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    std::optional<char32_t> c = NextUtf8(text, i);
    if (!c) return std::nullopt;
    if (*c < 0x80) {
      out += static_cast<char>(*c);
      continue;
    }
    std::size_t k = 0;
    while (k < kHigh.size() && kHigh[k] != *c) ++k;
    if (k == kHigh.size()) return std::nullopt;
    out += static_cast<char>(0x80 + k);
  }
  return out;
}

}  // namespace zuvprint
