// Code page 852 (DOS Central European), the code page of the host's texts,
// and UTF-8, the program's text for people and for libraries.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zuvprint {

// The character of a code page 852 byte: bytes below 0x80 are ASCII, the
// 128 high bytes come from the code page's table.
char32_t Cp852Char(unsigned char byte);

// Code page 852 bytes -> UTF-8 text. Every byte has a character, so every
// input converts; a NUL byte becomes U+0000.
std::string Cp852ToUtf8(std::string_view bytes);

// UTF-8 text -> code page 852 bytes; nothing when the text is not valid
// UTF-8 or holds a character that the code page does not have.
std::optional<std::string> Utf8ToCp852(std::string_view text);

}  // namespace zuvprint
