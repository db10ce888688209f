#include "platform/printers.h"

#include <cstdlib>

namespace zuvprint::platform {

PrinterList::PrinterList(std::vector<Printer> printers, std::string systemDefault)
    : printers_(std::move(printers)), systemDefault_(std::move(systemDefault)) {}

int PrinterList::IndexOf(const std::string& name) const {
  for (std::size_t i = 0; i < printers_.size(); ++i)
    if (printers_[i].name == name) return static_cast<int>(i);
  return -1;
}

int PrinterList::DefaultIndex() const {
  for (const char* variable : {"LPDEST", "PRINTER"}) {
    const char* name = std::getenv(variable);
    if (name && *name) {
      int index = IndexOf(name);
      if (index >= 0) return index;
    }
  }
  int index = systemDefault_.empty() ? -1 : IndexOf(systemDefault_);
  if (index < 0) index = IndexOf("PDF");
  return index >= 0 || printers_.empty() ? index : 0;
}

}  // namespace zuvprint::platform
