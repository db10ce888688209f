#include "runtime/runtime.h"

namespace zuvtill::runtime {

Runtime& Runtime::Get() {
  static Runtime runtime;
  return runtime;
}

void Runtime::Reset() {
  memvars_.Clear();
  areas_.CloseAll();
  console_.Reset();
  files_.CloseAll();
  data_ = DataDirectory();
  standIns_.Reset();
  functions_.SetLookup(nullptr);
}

}  // namespace zuvtill::runtime
