// Small text routines of the print run and the QR entry. Texts are bytes,
// one character per byte; positions count from 1.
#pragma once

#include <string>
#include <string_view>

namespace zuvprint {

// Value of a hexadecimal text, read from the last character to the first
// with weights 1, 16, 256, ...; a character that is not a hex digit counts
// as -1 (so "G0" gives -16), the empty text gives 0.
long long HexNaLiczbe(std::string_view text);

// The rightmost / leftmost n characters (empty for n <= 0).
std::string_view Prawe(std::string_view text, long long n);
std::string_view Lewe(std::string_view text, long long n);

// The characters from position i to the end, and n characters from i.
std::string_view OdPozycji(std::string_view text, long long i);
std::string_view Wycinek(std::string_view text, long long i, long long n);

// Every occurrence of what replaced by with, scanning left to right without
// rescanning replaced text. An empty search text changes nothing.
std::string ZamienWszystko(std::string_view text, std::string_view what, std::string_view with);

// The text without the characters of code 32 or less at either end (blanks,
// tabs, line ends, other control characters).
std::string_view PrzytnijBiale(std::string_view text);

// Upper case of the ASCII letters, other bytes unchanged.
std::string WielkieLitery(std::string_view text);

}  // namespace zuvprint
