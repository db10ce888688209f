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

std::optional<std::int64_t> ItemValue(std::int64_t price, std::int64_t quantity, int decimals) {
  unsigned __int128 scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  unsigned __int128 product = static_cast<unsigned __int128>(price) * static_cast<unsigned __int128>(quantity);
  unsigned __int128 value = (product + scale / 2) / scale;
  if (value > static_cast<unsigned __int128>(std::numeric_limits<std::int64_t>::max())) return std::nullopt;
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
