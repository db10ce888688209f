// The Windows API takes UTF-16; the program's texts are UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace zuvprint::platform {

// UTF-8 to UTF-16; a byte that is not UTF-8 becomes U+FFFD.
std::wstring Wide(std::string_view utf8);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf8(std::wstring_view wide);

// The text of a Windows error code (GetLastError), without the line end.
std::string WindowsErrorText(unsigned long code);

}  // namespace zuvprint::platform
