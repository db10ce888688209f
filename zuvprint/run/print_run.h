// The print run: from the print file handed over by the host to the last
// page, and the clean-up of its files.
#pragma once

#include <string>

#include "platform/message_box.h"
#include "platform/printers.h"

namespace zuvprint {

// The five positional parameters; a parameter not given is empty.
struct ParametryWydruku {
  std::string plik;         // print file
  std::string styl;         // print style file
  std::string zachowaj;     // "-GUI" (any case) keeps the print file
  std::string drukarka;     // "-2" selects the printer of section "Drukarka2"
  std::string ustawieniaQR; // QR settings file, deleted at the end
};

// What the run gets from the program entry.
struct OtoczenieWydruku {
  std::string sciezkaProgramu;           // for the default style file
  const platform::PrinterList& drukarki; // the fallback is its default printer
  platform::MessageBox& komunikaty;
};

// Prints the file. Answers 0 when the document was printed, 1 when the run
// ended with a reported failure (print file missing, no work copy, a job
// that could not be begun or written, verification codes that could not be
// made). The work copy, the print file (unless kept) and the QR settings
// file are deleted in every case.
int DrukujPlik(const ParametryWydruku& parametry, OtoczenieWydruku& otoczenie);

}  // namespace zuvprint
