#include "host/data_tables.h"

#include <exception>

#include "runtime/code_page.h"
#include "runtime/runtime.h"

namespace zuvtill::host {

void OpenDataTables(const std::string& dir, std::ostream& errors) {
  runtime::Runtime& rt = runtime::Runtime::Get();
  try {
    rt.Data().SetPath(dir);
  } catch (const std::exception& e) {
    errors << "zuvhost: " << runtime::Cp852ToUtf8(e.what()) << std::endl;
  }
  for (const std::string& alias : rt.Data().Aliases()) {
    try {
      rt.Data().Open(rt.Areas(), alias);
    } catch (const std::exception& e) {
      errors << "zuvhost: " << runtime::Cp852ToUtf8(e.what()) << std::endl;
    }
  }
  rt.Areas().Select(1);
}

}  // namespace zuvtill::host
