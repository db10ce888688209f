#include "runtime/dates.h"

#include <cstdio>
#include <ctime>

#include "runtime/cp852_literal.h"
#include "runtime/local_time.h"

namespace zuvtill::runtime {
namespace {

// Julian day number of a Gregorian date (Fliegel and Van Flandern).
int JulianDay(int y, int m, int d) {
  int a = (14 - m) / 12;
  int yy = y + 4800 - a;
  int mm = m + 12 * a - 3;
  return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
}

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}

bool Digits(std::string_view text, std::size_t from, std::size_t count, int& value) {
  value = 0;
  for (std::size_t i = from; i < from + count; ++i) {
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

std::tm LocalNow() { return LocalTime(std::time(nullptr)); }

}  // namespace

Date MakeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return {};
  return {JulianDay(year, month, day)};
}

YearMonthDay Split(Date date) {
  if (date.IsEmpty()) return {};
  int a = date.julian + 32044;
  int b = (4 * a + 3) / 146097;
  int c = a - 146097 * b / 4;
  int d = (4 * c + 3) / 1461;
  int e = c - 1461 * d / 4;
  int m = (5 * e + 2) / 153;
  return {100 * b + d - 4800 + m / 10, m + 3 - 12 * (m / 10), e - (153 * m + 2) / 5 + 1};
}

Date Today() {
  std::tm tm = LocalNow();
  return MakeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

std::string TimeOfDay() {
  std::tm tm = LocalNow();
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
  return buffer;
}

std::string MonthName(int month) {
  using namespace literals;
  static constexpr std::string_view kNames[] = {
      "Styczeń"_cp852, "Luty",        "Marzec",          "Kwiecień"_cp852, "Maj",      "Czerwiec",
      "Lipiec",        "Sierpień"_cp852, "Wrzesień"_cp852, "Październik"_cp852, "Listopad", "Grudzień"_cp852};
  return month >= 1 && month <= 12 ? std::string(kNames[month - 1]) : "";
}

namespace {

// The date's text in a layout of day, month and year fields at fixed places.
struct Layout {
  std::size_t length;
  std::size_t day, month, year;  // offsets of the 2-, 2- and 4-digit fields
  const char* empty;             // the empty date's text
};
constexpr Layout kDtoc{10, 0, 3, 6, "  .  .    "};
constexpr Layout kDtos{8, 6, 4, 0, "        "};

std::string Format(Date date, const Layout& layout) {
  if (date.IsEmpty()) return layout.empty;
  YearMonthDay p = Split(date);
  std::string text = layout.empty;
  char digits[16];
  std::snprintf(digits, sizeof digits, "%02d%02d%04d", p.day % 100, p.month % 100, p.year % 10000);
  text.replace(layout.day, 2, digits, 2);
  text.replace(layout.month, 2, digits + 2, 2);
  text.replace(layout.year, 4, digits + 4, 4);
  return text;
}

Date Parse(std::string_view text, const Layout& layout) {
  int d, m, y;
  if (text.size() != layout.length || !Digits(text, layout.day, 2, d) || !Digits(text, layout.month, 2, m) ||
      !Digits(text, layout.year, 4, y)) {
    return {};
  }
  return MakeDate(y, m, d);
}

}  // namespace

std::string Dtoc(Date date) { return Format(date, kDtoc); }
Date Ctod(std::string_view text) { return Parse(text, kDtoc); }
std::string Dtos(Date date) { return Format(date, kDtos); }
Date Stod(std::string_view text) { return Parse(text, kDtos); }

}  // namespace zuvtill::runtime
