// Amounts are whole grosze and quantities whole units of 10^-decimals, in
// integers throughout: a printer's sums are exact.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zuvlink {

// The value of a text of 1 to maxDigits decimal digits (maxDigits at most
// 18); nothing for anything else.
std::optional<std::int64_t> ParseDigits(std::string_view text, std::size_t maxDigits);

// Price × quantity / 10^decimals rounded half up to a whole grosz; nothing
// when the result does not fit 63 bits, or for a negative price or
// quantity or decimals outside 0 to 9.
std::optional<std::int64_t> ItemValue(std::int64_t price, std::int64_t quantity, int decimals);

// Grosze as złote for the paper roll: "6,98", "-0,50".
std::string Zlote(std::int64_t grosze);

// Units of 10^-decimals as a decimal number: 25 with 1 decimal is "2,5".
std::string Quantity(std::int64_t units, int decimals);

}  // namespace zuvlink
