// Case for the names the simulator knows, which are all ASCII (program
// names, "MERA30", device names, setting keys): ASCII letters without
// regard to case, every other byte as it is, whatever the C library's
// locale would make of a code page 852 byte.
#pragma once

#include <string>
#include <string_view>

namespace zuvlink {

std::string AsciiLower(std::string text);

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace zuvlink
