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

// Money and quantities are rounded on the decimal value that a number
// stands for, its 15 significant digits, not on the binary approximation
// that holds it: 1.005 (held as 1.00499999999999989...) is 1.005, and
// 12.3 x 100 (held as 1229.9999999999998) is 1230.
//
// ROUND / E_ROUND: half away from zero to decimals places (negative
// decimals round to tens, hundreds, ...): 1.005 gives 1.01, 2.675 gives
// 2.68, -2.5 gives -3.
double Round(double number, int decimals);
// INT / E_INT: the integer part, toward zero: 1229.9999999999998 gives
// 1230, 1229.9999 gives 1229, -12.99 gives -12.
double IntegerPart(double number);

// A host number as an integer count, position or handle: truncated toward
// zero, held at the ends of the type's range beyond it, 0 for NaN.
int SaturatedInt(double number);
long SaturatedLong(double number);

// The shortest decimal text that reads back as the same number, without an
// exponent: 3, 0.5, -12.25.
std::string ShortestNumber(double number);

}  // namespace zuvtill::runtime
