// Finding the printer that the style file names.
#pragma once

#include <string>
#include <vector>

#include "platform/printers.h"

namespace zuvprint {

// Position (from 1) of the first printer whose name, with characters of code
// 32 or less trimmed from both ends, equals the trimmed name exactly; 0 when
// the name is empty or no printer has it.
int ZnajdzDrukarke(const std::string& nazwa, const std::vector<platform::Printer>& drukarki);

// Index (from 0) of the printer a run uses: the one named by the style's
// "Drukarka" section, or "Drukarka2" for the printer switch "-2", else the
// default printer (-1 when there is no printer at all).
int WybierzDrukarke(const std::string& nazwa, const platform::PrinterList& drukarki);

}  // namespace zuvprint
