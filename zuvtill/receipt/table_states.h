// The states of host tables (order, record, scopes, and which work area was
// selected), saved with the host's ZAP_OBSZAR, each table with an order
// made active, and put back with its ODTW_OBSZAR.
#pragma once

#include <memory>

#include "runtime/value.h"

namespace zuvtill::receipt {

class SavedTables {
 public:
  SavedTables();
  // Restores what the caller has not, also when a host function raised
  // meanwhile (an error raised by the restore then is dropped: the one
  // that is on its way is the one to keep).
  ~SavedTables();
  SavedTables(const SavedTables&) = delete;
  SavedTables& operator=(const SavedTables&) = delete;

  // Saves the table's state and selects it with the order active.
  void Save(const char* alias, double order);
  void Restore();

 private:
  std::shared_ptr<runtime::Value> states_;
  bool restored_ = false;
};

}  // namespace zuvtill::receipt
