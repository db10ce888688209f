// Texts in files are code page 852 bytes, texts in this program's sources
// and settings are UTF-8; these convert between the two.
#pragma once

#include <string>
#include <string_view>

namespace zuvlink {

// A text of ours (UTF-8) in code page 852.
std::string Cp852(std::string_view utf8);

// A value from the settings file for a file: converted when it is valid
// UTF-8 as a whole, otherwise taken as the bytes it is (a tester may give
// code page 852 bytes directly).
std::string SettingForFile(std::string_view value);

// Code page 852 bytes for people (standard error, the paper roll).
std::string ForPeople(std::string_view cp852);

// Whether the bytes hold a control character (below 32, or 127), which no
// printed text may carry.
bool HasControlCharacter(std::string_view bytes);

}  // namespace zuvlink
