// The host functions that expressions can call by name: the runtime's own
// (STR, DBSEEK, FOPEN, ...) and, through a lookup that the embedding
// program sets, the exports of the libraries it has bound.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "runtime/params.h"

namespace zuvtill::runtime {

class FunctionTable {
 public:
  using Lookup = std::function<HostFunction(std::string_view upperName)>;

  FunctionTable();
  void Register(std::string name, HostFunction fn);
  // The runtime's function of that name (case-insensitive), else the
  // library export that the lookup finds, else null.
  HostFunction Find(std::string_view name) const;
  void SetLookup(Lookup lookup) { lookup_ = std::move(lookup); }

 private:
  std::map<std::string, HostFunction, std::less<>> builtIns_;
  Lookup lookup_;
};

// The runtime's own functions, registered by theme.
void RegisterTextFunctions(FunctionTable& table);
void RegisterNumberAndDateFunctions(FunctionTable& table);
void RegisterTableFunctions(FunctionTable& table);
void RegisterFileAndConsoleFunctions(FunctionTable& table);

}  // namespace zuvtill::runtime
