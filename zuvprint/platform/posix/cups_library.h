// libcups, loaded the first time a run needs the system's printers. Linked
// to the program, it would map some thirty libraries (Kerberos, GnuTLS,
// Avahi, D-Bus ...) into every run, also the many that print on a built-in
// printer and never talk to CUPS.
#pragma once

#include <cups/cups.h>

#include <string>

namespace zuvprint::platform {

struct CupsLibrary {
  decltype(&cupsGetDests2) getDests2;
  decltype(&cupsFreeDests) freeDests;
  decltype(&cupsAddOption) addOption;
  decltype(&cupsFreeOptions) freeOptions;
  decltype(&cupsPrintFile2) printFile2;
  decltype(&cupsLastErrorString) lastErrorString;
};

// The library's functions, or nullptr when it cannot be loaded; then
// *reason says why (the loader's message).
const CupsLibrary* LoadCups(std::string* reason = nullptr);

}  // namespace zuvprint::platform
