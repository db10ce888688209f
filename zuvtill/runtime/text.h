// The host's text functions over code page 852 bytes.
#pragma once

#include <string>
#include <string_view>

namespace zuvtill::runtime {

std::string RTrim(std::string_view text);   // TRIM / RTRIM: trailing blanks
std::string LTrim(std::string_view text);   // leading blanks
std::string AllTrim(std::string_view text); // both

// PADL / PADR / PADC: the text cut or filled with fill to length.
std::string PadL(std::string_view text, int length, char fill = ' ');
std::string PadR(std::string_view text, int length, char fill = ' ');
std::string PadC(std::string_view text, int length, char fill = ' ');

// SUBSTR with a 1-based start (a negative start counts from the end) and an
// optional count; out-of-range parts are cut off, never an error.
std::string Substr(std::string_view text, int start, int count = -1);
std::string Left(std::string_view text, int count);
std::string Right(std::string_view text, int count);

// UPPER / LOWER: ASCII letters and the Polish letters of code page 852.
std::string Upper(std::string_view text);
std::string Lower(std::string_view text);

// AT: 1-based position of needle in text, 0 when absent (or needle empty).
int At(std::string_view needle, std::string_view text);

bool IsBlank(std::string_view text);

}  // namespace zuvtill::runtime
