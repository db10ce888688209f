#include "platform/printers.h"

#include <cstdlib>

namespace zuvprint::platform {

PrinterList::PrinterList(std::vector<Printer> builtIn, std::function<SystemPrinters()> askSystem)
    : builtIn_(std::move(builtIn)), askSystem_(std::move(askSystem)) {}

const PrinterList::Listed& PrinterList::All() const {
  if (!all_) {
    Listed all{builtIn_, {}};
    if (askSystem_) {
      SystemPrinters system = askSystem_();
      for (std::string& name : system.names) all.printers.push_back({std::move(name), PrinterKind::System});
      all.systemDefault = std::move(system.defaultName);
    }
    all_ = std::move(all);
  }
  return *all_;
}

const std::vector<Printer>& PrinterList::Printers() const { return All().printers; }

const Printer& PrinterList::At(int index) const {
  const auto i = static_cast<std::size_t>(index);
  return index >= 0 && i < builtIn_.size() ? builtIn_[i] : Printers().at(i);
}

int PrinterList::IndexOf(const std::string& name) const {
  auto find = [&](const std::vector<Printer>& list) {
    for (std::size_t i = 0; i < list.size(); ++i)
      if (list[i].name == name) return static_cast<int>(i);
    return -1;
  };
  // The built-in printers lead the list: their names need no question to
  // the system.
  int index = find(builtIn_);
  return index >= 0 ? index : find(Printers());
}

int PrinterList::DefaultIndex() const {
  for (const char* variable : {"LPDEST", "PRINTER"}) {
    const char* name = std::getenv(variable);
    if (name && *name) {
      int index = IndexOf(name);
      if (index >= 0) return index;
    }
  }
  const std::string& systemDefault = All().systemDefault;
  int index = systemDefault.empty() ? -1 : IndexOf(systemDefault);
  if (index < 0) index = IndexOf("PDF");
  return index >= 0 || Printers().empty() ? index : 0;
}

}  // namespace zuvprint::platform
