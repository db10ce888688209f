// One DBF table file, read and written through shapelib. Character fields
// come back exactly as stored (padded to their width, code page 852 bytes),
// numbers as numbers (a blank number is 0), logicals and dates as such.
#pragma once

#include <shapefil.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/value.h"

namespace zuvtill::runtime {

struct FieldInfo {
  std::string name;  // upper case
  char type = 'C';   // C N L D (F is read as N; M reads as an empty text)
  int width = 0;
  int decimals = 0;
  int offset = 0;  // of the field in the raw record (byte 0 is the deletion flag)
};

class DbfTable {
 public:
  // Opens an existing table, for writing when it can be written, otherwise
  // for reading only. Throws HostError naming the file when it cannot be opened.
  static DbfTable Open(const std::string& path);
  // Creates a new empty table with these fields (name, type, width, decimals).
  static DbfTable Create(const std::string& path, const std::vector<FieldInfo>& fields);

  const std::vector<FieldInfo>& Fields() const { return fields_; }
  // Index of the field (case-insensitive), or -1.
  int FieldIndex(std::string_view name) const;
  long RecordCount() const;

  // Record numbers are 1-based. Reading record 0 or one past the end gives
  // the field's empty value (the end-of-table record).
  Value Read(long record, int field) const;
  static Value EmptyValue(const FieldInfo& field);
  // Throws HostError when the value does not fit the field's type or the
  // write fails (a table opened for reading only).
  void Write(long record, int field, const Value& value);
  // Appends an empty record and answers its number.
  long Append();

 private:
  struct Closer {
    void operator()(DBFInfo* handle) const;
  };
  DbfTable(DBFHandle handle, std::string path, bool writable);

  std::unique_ptr<DBFInfo, Closer> handle_;
  std::string path_;
  bool writable_ = false;
  std::vector<FieldInfo> fields_;
};

}  // namespace zuvtill::runtime
