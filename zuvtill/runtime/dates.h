// Dates and the clock as the host runtime gives them. The date format of
// DTOC and CTOD is the Polish one, "DD.MM.YYYY"; month names are Polish in
// code page 852.
#pragma once

#include <string>
#include <string_view>

#include "runtime/value.h"

namespace zuvtill::runtime {

// The date of a day, or the empty date when there is no such day.
Date MakeDate(int year, int month, int day);
struct YearMonthDay {
  int year = 0, month = 0, day = 0;  // all 0 for the empty date
};
YearMonthDay Split(Date date);

Date Today();
// The time of day as "HH:MM:SS".
std::string TimeOfDay();

// Name of month 1 to 12 ("Styczeń" ...), "" for any other number.
std::string MonthName(int month);

std::string Dtoc(Date date);          // "09.12.2026"; the empty date "  .  .    "
Date Ctod(std::string_view text);     // inverse of Dtoc; anything else gives the empty date
std::string Dtos(Date date);          // "20261209"; the empty date "        "
Date Stod(std::string_view text);     // inverse of Dtos

}  // namespace zuvtill::runtime
