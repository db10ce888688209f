#include "run/program_entry.h"

#include <cstdio>

#include "platform/files.h"
#include "platform/font_caches.h"
#include "platform/message_box.h"
#include "platform/printers.h"
#include "run/print_run.h"
#include "run/trace_mode.h"

#ifndef ZUVPRINT_VERSION
#define ZUVPRINT_VERSION "0.0.0"
#endif

namespace zuvprint {

namespace {

constexpr const char kUzycie[] =
    "Usage: zuvprint PRINT-FILE [STYLE-FILE [-GUI [-2 [QR-SETTINGS-FILE]]]]\n"
    "\n"
    "Prints a print file (code page 852 text with printer control sequences)\n"
    "as a grid of character cells, then deletes its work files.\n"
    "\n"
    "  PRINT-FILE        the file to print; deleted after it has been copied\n"
    "  STYLE-FILE        print style (.dpc); default: ../DOSPRINT/Default.dpc\n"
    "                    beside the program's directory\n"
    "  -GUI              keep the print file (any other text: delete it)\n"
    "  -2                use the printer of section [Drukarka2]\n"
    "  QR-SETTINGS-FILE  KSeF codes of the %%QRKody line; deleted at the end\n"
    "\n"
    "Printers: PDF (a PDF file per job) and TRACE (a draw log beside the PDF),\n"
    "both written into ZUVPRINT_OUTPUT_DIR or the current directory, then the\n"
    "CUPS destinations; a built-in name wins over a CUPS queue of that name.\n"
    "The default printer is the one LPDEST or PRINTER names, else the CUPS\n"
    "default, else PDF. A file named Test in the current directory turns on\n"
    "progress messages.\n";

std::string Parametr(const std::vector<std::string>& a, std::size_t i) { return i < a.size() ? a[i] : std::string(); }

void PokazParametry(platform::MessageBox& komunikaty, const std::vector<std::string>& a) {
  std::string n = std::to_string(a.size());
  komunikaty.Show("Lliczba parametrow: " + n);
  std::string tekst = "Lliczba parametrow: " + n;
  for (std::size_t i = 0; i < (a.size() >= 5 ? 5u : 4u); ++i)
    tekst += "\r\n" + std::to_string(i + 1) + ". " + Parametr(a, i);
  komunikaty.Show(tekst);
}

}  // namespace

int UruchomProgram(const std::string& sciezkaProgramu, const std::vector<std::string>& a) {
  if (a.size() == 1 && !platform::FileExists(a[0])) {
    if (a[0] == "--help") {
      std::fputs(kUzycie, stdout);
      return 0;
    }
    if (a[0] == "--version") {
      std::puts("zuvprint " ZUVPRINT_VERSION);
      return 0;
    }
  }
  platform::MessageBox komunikaty;
  if (TrybTestowy()) PokazParametry(komunikaty, a);
  platform::PrinterList drukarki = platform::PrinterList::Installed();
  OtoczenieWydruku otoczenie{sciezkaProgramu, drukarki, komunikaty};
  int wynik = 0;
  if (!a.empty())
    wynik = DrukujPlik({Parametr(a, 0), Parametr(a, 1), Parametr(a, 2), Parametr(a, 3), Parametr(a, 4)}, otoczenie);
  platform::ReleaseFontCaches();
  return wynik;
}

}  // namespace zuvprint
