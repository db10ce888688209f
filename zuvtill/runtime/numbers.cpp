#include "runtime/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace zuvtill::runtime {

double Round(double number, int decimals) {
  double scale = std::pow(10.0, decimals);
  double scaled = number * scale;
  // Nudge by a few units in the last place so that binary fractions just
  // below a half round the way the decimal number does.
  double nudged = scaled + std::copysign(std::fabs(scaled) * 4 * __DBL_EPSILON__, scaled);
  return std::round(nudged) / scale;
}

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

std::string ShortestNumber(double number) {
  if (number == 0) return "0";  // also for -0
  char buffer[400];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed);
  if (ec != std::errc()) return "*";
  return std::string(buffer, end);
}

}  // namespace zuvtill::runtime
