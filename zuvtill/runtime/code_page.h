// Code page 852, the host's text, and UTF-8, the text of people: the
// console and logs convert here and nowhere else. The conversion goes by
// the code page's table of our own, the same on every system.
#pragma once

#include <string>
#include <string_view>

namespace zuvtill::runtime {

// Every code page 852 byte has a character, so this always converts.
std::string Cp852ToUtf8(std::string_view bytes);

// UTF-8 text to code page 852. A character that the code page lacks
// becomes '?'; a byte that is not valid UTF-8 is taken as a code page 852
// byte as it stands (a script may hold host bytes).
std::string Utf8ToCp852(std::string_view text);

}  // namespace zuvtill::runtime
