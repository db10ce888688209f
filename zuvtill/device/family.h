// The printer family that this library serves, and the device symbols.
//
// The family symbol is a constant of the build ("FP600": ELZAB printers,
// device module zuvelzab; "DF301": POSNET printers, device module
// zuvposnet). Every family-dependent function carries the branches for both,
// comparing with the whole symbol, so one source serves either family.
#pragma once

#include <string>
#include <string_view>

namespace zuvtill::device {

inline constexpr std::string_view kElzabFamily = "FP600";
inline constexpr std::string_view kPosnetFamily = "DF301";

// The symbol the library was built with.
std::string FamilySymbol();

// The device symbol of the fiscal printer: the default wherever a device
// symbol is missing or not a text.
inline constexpr std::string_view kFiscalPrinter = "  1  1";

// A symbol whose first three characters are " 10" names a data collector.
inline bool IsDataCollector(std::string_view deviceSymbol) { return deviceSymbol.substr(0, 3) == " 10"; }

}  // namespace zuvtill::device
