// Numbers as the host formats and reads them.
#pragma once

#include <string>
#include <string_view>

namespace zuvtill::runtime {

// STR(number, width, decimals): right-aligned in width characters with the
// given decimals, rounded half away from zero; a number that does not fit
// comes out as width asterisks. Without a width: 10 characters, plus the
// decimals and the point when there are decimals.
std::string Str(double number, int width, int decimals);
std::string Str(double number);

// VAL(text): the leading number of the text, leading blanks skipped, 0 when
// there is none.
double Val(std::string_view text);

// The number rounded half away from zero to decimals places (negative
// decimals round to tens, hundreds, ...). A value a hair's breadth below a
// half (1.005 held as 1.00499999...) still rounds up, as the host rounds it.
double Round(double number, int decimals);

// The shortest decimal text that reads back as the same number, without an
// exponent: 3, 0.5, -12.25.
std::string ShortestNumber(double number);

}  // namespace zuvtill::runtime
