#include "runtime/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace zuvtill::runtime {

namespace {

// Every decimal of 15 significant digits survives a trip through a double.
constexpr int kSignificantDigits = 15;

// The number cut to decimals places on its decimal value, the 15
// significant digits it stands for: rounded half away from zero, or with
// round false truncated toward zero. The result is the double nearest to
// the decimal so cut.
double OnDecimalValue(double number, int decimals, bool round) {
  if (number == 0 || !std::isfinite(number)) return number;
  // Beyond 400 places either way a double has nothing left to cut.
  decimals = std::clamp(decimals, -400, 400);
  // "d.dddddddddddddde+XX": the value is D x 10^(exponent - 14), D the
  // fifteen digits.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, std::fabs(number));
  std::string digits;
  const char* c = buffer;
  for (; *c && *c != 'e'; ++c) {
    if (*c >= '0' && *c <= '9') digits += *c;
  }
  const int lastDigitPower = std::atoi(c + 1) - (kSignificantDigits - 1);
  const std::string sign = number < 0 ? "-" : "";

  const int dropped = -decimals - lastDigitPower;  // digits of D below the last kept place
  if (dropped <= 0) {
    // The cut lies below the fifteen digits: the number itself holds all
    // there is (a whole number of sixteen digits, say), cut exactly.
    if (decimals > 0) return number;
    double scale = std::pow(10.0, -decimals);
    double cut = (round ? std::round(number / scale) : std::trunc(number / scale)) * scale;
    return cut == 0 ? 0.0 : cut;
  }
  long long whole = 0;
  if (dropped <= kSignificantDigits) {
    std::size_t keep = static_cast<std::size_t>(kSignificantDigits - dropped);
    whole = keep == 0 ? 0 : std::stoll(digits.substr(0, keep));
    if (round && digits[keep] >= '5') ++whole;
  }
  if (whole == 0) return 0.0;  // without a sign
  return std::strtod((sign + std::to_string(whole) + "e" + std::to_string(-decimals)).c_str(), nullptr);
}

}  // namespace

double Round(double number, int decimals) { return OnDecimalValue(number, decimals, true); }

double IntegerPart(double number) { return OnDecimalValue(number, 0, false); }

std::string Str(double number, int width, int decimals) {
  if (width < 1) width = 10;
  if (decimals < 0) decimals = 0;
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, Round(number, decimals));
  std::string text = buffer;
  if (text == "-0" || text.rfind("-0.", 0) == 0) {
    // A negative number that rounds to zero is shown without its sign.
    if (text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  }
  if (static_cast<int>(text.size()) > width) return std::string(width, '*');
  return std::string(width - text.size(), ' ') + text;
}

std::string Str(double number) {
  if (number == std::trunc(number)) return Str(number, 10, 0);
  return Str(number, 13, 2);
}

double Val(std::string_view text) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string_view::npos) return 0;
  std::string digits;
  if (text[i] == '-' || text[i] == '+') digits += text[i++];
  bool point = false;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      digits += c;
    } else if (c == '.' && !point) {
      point = true;
      digits += c;
    } else {
      break;
    }
  }
  double value = 0;
  const char* begin = digits.c_str();
  if (!digits.empty() && digits[0] == '+') ++begin;
  std::from_chars(begin, digits.c_str() + digits.size(), value);
  return value;
}

template <typename Integer>
Integer Saturated(double number) {
  if (std::isnan(number)) return 0;
  constexpr double kLow = static_cast<double>(std::numeric_limits<Integer>::min());
  constexpr double kHigh = static_cast<double>(std::numeric_limits<Integer>::max());
  if (number <= kLow) return std::numeric_limits<Integer>::min();
  if (number >= kHigh) return std::numeric_limits<Integer>::max();
  return static_cast<Integer>(number);
}

int SaturatedInt(double number) { return Saturated<int>(number); }
long SaturatedLong(double number) { return Saturated<long>(number); }

std::string ShortestNumber(double number) {
  if (number == 0) return "0";  // also for -0
  char buffer[400];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed);
  if (ec != std::errc()) return "*";
  return std::string(buffer, end);
}

}  // namespace zuvtill::runtime
