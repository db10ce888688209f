#include "ksef/cp852.h"

#include "platform/cp852_table.h"
#include "platform/utf8.h"

namespace zuvprint {

char32_t Cp852Char(unsigned char byte) { return platform::Cp852Character(byte); }

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
    std::optional<char32_t> c = platform::DecodeUtf8(text, i);
    if (!c) return std::nullopt;
    std::optional<unsigned char> byte = platform::Cp852Byte(*c);
    if (!byte) return std::nullopt;
    out += static_cast<char>(*byte);
  }
  return out;
}

}  // namespace zuvprint
