// Between the host's notions and a fiscal device's: the fiscal device
// number of a device kind, the device's designation of a VAT rate, the
// text of a rate as a printer reports it, and the Polish letters of a text
// between the host's coding and the file coding of the exchange files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zuvtill::receipt {

// The fiscal device number under which the host's rate tables know the
// kind of device that the key begins with ("  1  1..." 1, "  2  n..." n+1
// below 6, else n); 0, after a message to the user, for any other key.
double FiscalDeviceNumber(std::string_view key);

// The designation of the VAT symbol on the key's device, through the
// host's FISKI: blank when the symbol has none there, without outer blanks
// with trim; nothing when the key names no device.
std::optional<std::string> FiscalRate(std::string_view key, std::string_view vatSymbol, bool trim = true);

// "ZW" for 99999, "NZ" for -1, else the hundredths of a percent as a
// percentage with two decimals: "2300" gives "23.00".
std::string PrinterRateText(std::string_view hundredths);

// The Polish letters of text converted from the file coding (code page
// 852) into the host's coding p_pol (toHost), or back. Nothing changes
// while p_pol is no number or is 2; coding 4 is never converted back.
void ConvertPolishLetters(std::string& text, bool toHost);

}  // namespace zuvtill::receipt
