#include "runtime/functions.h"

#include "runtime/text.h"

namespace zuvtill::runtime {

FunctionTable::FunctionTable() {
  RegisterTextFunctions(*this);
  RegisterNumberAndDateFunctions(*this);
  RegisterTableFunctions(*this);
  RegisterFileAndConsoleFunctions(*this);
}

void FunctionTable::Register(std::string name, HostFunction fn) { builtIns_[Upper(name)] = fn; }

HostFunction FunctionTable::Find(std::string_view name) const {
  std::string upper = Upper(name);
  auto it = builtIns_.find(upper);
  if (it != builtIns_.end()) return it->second;
  return lookup_ ? lookup_(upper) : nullptr;
}

}  // namespace zuvtill::runtime
