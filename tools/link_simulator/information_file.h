// The information file that job 3 leaves: "#Informacja z drukarki#", CR
// LF, then the printer's 24 fields, each in double quotes, separated by
// commas, then CR LF. The reader looks at the first 500 bytes only; the
// default fields take about 150.
//
// Defaults, as a printer of either family answers (the settings' pole1 to
// pole24 replace them):
//   1 date DD.MM.YYYY and 2 time HH:MM of the printer's clock (now, local time)
//   3 unique number "ZUV12345678"       4 owner's NIP "1234563218"
//   5 cash in the drawer "15000" and 6 the day's sales "4230", in grosze
//   7 model: the family symbol          8 firmware version "1.05"
//   9 to 15 rates A to G in hundredths of a percent: 2300, 800, 500, 0,
//     99999 (exempt), -1 and -1 (not defined)
//  16 "0": no receipt open ("1" open)   17 daily reports made "128"
//  18 shift number "1"                  19 cashier "Kasjer 1"
//  20 till number "1"                   21 character table "1"
//  22 receipts since the daily report "0"
//  23 free daily-report records of the fiscal memory "1702"
//  24 line speed "9600"
#pragma once

#include <array>
#include <ctime>
#include <string>

#include "family.h"
#include "settings.h"

namespace zuvlink {

using InformationFields = std::array<std::string, kInformationFields>;  // code page 852

// The defaults above for a printer of the family whose clock shows now.
InformationFields DefaultInformationFields(const Family& family, std::time_t now);

// The file's bytes: the fields given in the settings over the defaults.
std::string InformationFile(const InformationFields& defaults, const Settings& settings);

}  // namespace zuvlink
