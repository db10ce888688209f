#include "amounts.h"

#include <limits>

namespace zuvlink {

std::optional<std::int64_t> ParseDigits(std::string_view text, std::size_t maxDigits) {
  if (text.empty() || text.size() > maxDigits) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// In 64 bits, as every target has them: with s = 10^decimals, price = ph·s + pl
// and quantity = qh·s + ql, price × quantity / s = price·qh + ph·ql + pl·ql / s,
// where only the last term has a fraction and pl·ql < s² ≤ 10^18 fits.
std::optional<std::int64_t> ItemValue(std::int64_t price, std::int64_t quantity, int decimals) {
  if (price < 0 || quantity < 0 || decimals < 0 || decimals > 9) return std::nullopt;
  constexpr std::uint64_t kLargest = std::numeric_limits<std::int64_t>::max();
  std::uint64_t scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const std::uint64_t p = static_cast<std::uint64_t>(price), q = static_cast<std::uint64_t>(quantity);
  const std::uint64_t ph = p / scale, pl = p % scale, qh = q / scale, ql = q % scale;
  if (qh != 0 && p > kLargest / qh) return std::nullopt;
  if (ql != 0 && ph > kLargest / ql) return std::nullopt;
  const std::uint64_t terms[] = {p * qh, ph * ql, (pl * ql + scale / 2) / scale};
  std::uint64_t value = 0;
  for (std::uint64_t term : terms) {
    if (term > kLargest - value) return std::nullopt;
    value += term;
  }
  return static_cast<std::int64_t>(value);
}

namespace {

// units as digits with a decimal comma before the last decimals of them.
std::string WithDecimals(std::uint64_t units, int decimals) {
  std::string digits = std::to_string(units);
  if (decimals == 0) return digits;
  if (digits.size() <= static_cast<std::size_t>(decimals)) {
    digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
  }
  digits.insert(digits.size() - static_cast<std::size_t>(decimals), ",");
  return digits;
}

}  // namespace

std::string Zlote(std::int64_t grosze) {
  // The magnitude in unsigned arithmetic: the smallest int64 has no positive twin.
  std::uint64_t magnitude = grosze < 0 ? 0 - static_cast<std::uint64_t>(grosze) : static_cast<std::uint64_t>(grosze);
  return (grosze < 0 ? "-" : "") + WithDecimals(magnitude, 2);
}

std::string Quantity(std::int64_t units, int decimals) {
  return WithDecimals(static_cast<std::uint64_t>(units), decimals);
}

}  // namespace zuvlink
