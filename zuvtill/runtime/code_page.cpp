#include "runtime/code_page.h"

#include <optional>

#include "platform/cp852_table.h"
#include "platform/utf8.h"

namespace zuvtill::runtime {

using zuvprint::platform::AppendUtf8;
using zuvprint::platform::Cp852Byte;
using zuvprint::platform::Cp852Character;
using zuvprint::platform::DecodeUtf8;

std::string Cp852ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char b : bytes) AppendUtf8(out, Cp852Character(static_cast<unsigned char>(b)));
  return out;
}

// A sequence that is not strict UTF-8 (cut off, overlong, a surrogate,
// beyond U+10FFFF) is host bytes, which must come through unchanged: only
// its first byte is taken, and decoding goes on at the next one.
std::string Utf8ToCp852(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (std::optional<char32_t> c = DecodeUtf8(text, i)) {
      std::optional<unsigned char> byte = Cp852Byte(*c);
      out += byte ? static_cast<char>(*byte) : '?';
    } else {
      out += text[i++];
    }
  }
  return out;
}

}  // namespace zuvtill::runtime
