#include "run/printer_choice.h"

#include <string_view>

#include "run/text_utils.h"

namespace zuvprint {

int ZnajdzDrukarke(const std::string& nazwa, const std::vector<platform::Printer>& drukarki) {
  if (nazwa.empty() || drukarki.empty()) return 0;
  std::string_view szukana = PrzytnijBiale(nazwa);
  for (std::size_t i = 0; i < drukarki.size(); ++i)
    if (PrzytnijBiale(drukarki[i].name) == szukana) return static_cast<int>(i) + 1;
  return 0;
}

int WybierzDrukarke(const std::string& nazwa, const platform::PrinterList& drukarki) {
  // The built-in printers lead the list, so a name found among them has the
  // same position in the whole list, and the system need not be asked; nor
  // for an empty name, which matches no printer.
  int pozycja = ZnajdzDrukarke(nazwa, drukarki.BuiltIn());
  if (pozycja == 0 && !nazwa.empty()) pozycja = ZnajdzDrukarke(nazwa, drukarki.Printers());
  return pozycja >= 1 ? pozycja - 1 : drukarki.DefaultIndex();
}

}  // namespace zuvprint
