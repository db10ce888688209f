// Code page 852 texts written readably in the source: "Błąd odczytu"_cp852
// is the bytes the host keeps, converted when the program is compiled. Only
// ASCII and the Polish letters may appear in such a literal; any other
// character does not build, so a text can never reach a file or the user
// in the wrong coding.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zuvtill::runtime {

template <std::size_t N>
struct Cp852Literal {
  char bytes[N]{};
  std::size_t size = 0;

  consteval Cp852Literal(const char (&utf8)[N]) {
    for (std::size_t i = 0; i + 1 < N;) {
      unsigned char c = static_cast<unsigned char>(utf8[i]);
      if (c < 0x80) {
        bytes[size++] = utf8[i++];
        continue;
      }
      if ((c & 0xE0u) != 0xC0u || i + 2 >= N) throw "only ASCII and the Polish letters";
      unsigned code = (c & 0x1Fu) << 6 | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
      bytes[size++] = PolishLetter(code);
      i += 2;
    }
  }

  constexpr operator std::string_view() const { return {bytes, size}; }
  std::string str() const { return {bytes, size}; }

 private:
  // The Polish letters Ą Ć Ę Ł Ń Ó Ś Ź Ż ą ć ę ł ń ó ś ź ż.
  static consteval char PolishLetter(unsigned code) {
    constexpr unsigned kUnicode[] = {0x104, 0x106, 0x118, 0x141, 0x143, 0xD3, 0x15A, 0x179, 0x17B,
                                     0x105, 0x107, 0x119, 0x142, 0x144, 0xF3, 0x15B, 0x17A, 0x17C};
    constexpr unsigned char kCp852[] = {0xA4, 0x8F, 0xA8, 0x9D, 0xE3, 0xE0, 0x97, 0x8D, 0xBD,
                                        0xA5, 0x86, 0xA9, 0x88, 0xE4, 0xA2, 0x98, 0xAB, 0xBE};
    for (std::size_t k = 0; k < sizeof kUnicode / sizeof kUnicode[0]; ++k) {
      if (kUnicode[k] == code) return static_cast<char>(kCp852[k]);
    }
    throw "only ASCII and the Polish letters";
  }
};

namespace literals {

// The template parameter object lives as long as the program, so views of
// it may be kept in tables.
template <Cp852Literal text>
consteval const auto& operator""_cp852() {
  return text;
}

}  // namespace literals
}  // namespace zuvtill::runtime
