// A work area: one open table under its alias, its position, its orders
// (defined by key expressions) with their scopes, and the xBase moves:
// go top, go bottom, go to, skip, seek. One past the last record is the end
// of the table, whose empty record every field reads as its empty value.
#pragma once

#include <string>
#include <vector>

#include "runtime/dbf_table.h"
#include "runtime/expression.h"
#include "runtime/value.h"

namespace zuvtill::runtime {

struct OrderDefinition {
  int number = 0;          // as the host numbers its orders
  std::string expression;  // xBase key expression over the fields
};

// What SaveState() keeps and RestoreState() puts back.
struct TableState {
  int order = 0;
  long record = 0;
  Value top, bottom;  // the active order's scopes
};

class WorkArea {
 public:
  // The lowest-numbered order is active; without orders, the natural one.
  // Throws HostError when a key expression does not parse.
  WorkArea(std::string alias, DbfTable table, std::vector<OrderDefinition> orders);

  const std::string& Alias() const { return alias_; }
  const DbfTable& Table() const { return table_; }

  long RecNo() const { return record_; }
  long LastRec() const { return table_.RecordCount(); }
  bool Eof() const { return record_ > LastRec(); }
  bool Bof() const { return bof_; }
  bool Found() const { return found_; }

  // Moves in the active order, within its scopes.
  void GoTop();
  void GoBottom();
  void Skip(long count = 1);
  // Any record by number, whatever the order; other numbers give the end.
  void GoTo(long record);
  // Looks the key up in the active order. A text matches every key that it
  // begins; a number or a date must equal the key. Not found: the end of
  // the table, or with soft the first greater key (the end when none).
  // Throws HostError without an active order or for a key of another type.
  bool Seek(const Value& key, bool soft = false);

  int FieldIndex(std::string_view name) const { return table_.FieldIndex(name); }
  Value FieldGet(int field) const { return table_.Read(record_, field); }
  void FieldPut(int field, const Value& value);
  void Append();

  int Order() const { return active_ < 0 ? 0 : orders_[active_].definition.number; }
  // 0 selects the natural order; an unknown number throws HostError.
  void SetOrder(int number);

  // which 0: top scope, 1: bottom scope. The value or a code block that
  // gives it; NIL clears it. Answers the scope as it was set before.
  Value SetScope(int which, Value scope);
  Value Scope(int which) const;
  // The number of keys within the scopes (all records in the natural order).
  long KeyCount();

  TableState SaveState() const;
  void RestoreState(const TableState& state);

 private:
  struct Entry {
    Value key;
    long record;
  };
  struct IndexedOrder {
    OrderDefinition definition;
    NodePtr key;
    bool built = false;
    std::vector<Entry> entries;      // sorted by key, then record
    std::vector<long> positionOf;    // record -> index into entries
    Value top, bottom;               // as given (a value or a block)
    Value topKey, bottomKey;         // as evaluated
  };

  IndexedOrder* Active();
  void Build(IndexedOrder& order);
  void Invalidate();
  // The range [first, last) of entries within the scopes.
  std::pair<long, long> ScopeRange(IndexedOrder& order);
  void Position(long record) {
    record_ = record;
    found_ = false;
  }

  std::string alias_;
  DbfTable table_;
  std::vector<IndexedOrder> orders_;
  int active_ = -1;
  long record_ = 1;
  bool bof_ = false;
  bool found_ = false;
};

// Compares two keys as an order sorts them: texts by their bytes, numbers,
// dates and logicals by value. Answers <0, 0 or >0.
int CompareKeys(const Value& a, const Value& b);

}  // namespace zuvtill::runtime
