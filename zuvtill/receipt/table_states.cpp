#include "receipt/table_states.h"

#include "hostlibs/zuvcore.h"
#include "runtime/params.h"

namespace zuvtill::receipt {

SavedTables::SavedTables() : states_(std::make_shared<runtime::Value>()) {}

SavedTables::~SavedTables() {
  if (restored_) return;
  try {
    Restore();
  } catch (...) {
  }
}

void SavedTables::Save(const char* alias, double order) {
  runtime::Params p;
  p.AddReference(states_);
  p.Add(runtime::Value::Text(alias));
  p.Add(runtime::Value::Number(order));
  ZAP_OBSZAR(p);
}

void SavedTables::Restore() {
  restored_ = true;
  runtime::Call(ODTW_OBSZAR, {*states_});
}

}  // namespace zuvtill::receipt
