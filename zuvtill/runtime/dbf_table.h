// One DBF table file (dBase III, see dbf_format.h), read and written by
// the runtime itself. Character fields come back exactly as stored (padded
// to their width, code page 852 bytes), numbers as numbers (a blank number
// is 0), logicals and dates as such. Every write goes to the file at once,
// so a program the host starts next reads what was written.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "runtime/dbf_format.h"
#include "runtime/value.h"

namespace zuvtill::runtime {

class DbfTable {
 public:
  // Opens an existing table, for writing when it can be written, otherwise
  // for reading only. Throws HostError naming the file when it cannot be opened.
  static DbfTable Open(const std::string& path);
  // Creates a new empty table with these fields (name, type, width, decimals).
  static DbfTable Create(const std::string& path, const std::vector<FieldInfo>& fields);

  const std::vector<FieldInfo>& Fields() const { return layout_.fields; }
  // Index of the field (case-insensitive), or -1.
  int FieldIndex(std::string_view name) const;
  long RecordCount() const { return static_cast<long>(layout_.records); }
  // Whether the record carries the deletion mark; the record still reads.
  bool Deleted(long record) const;

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
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  DbfTable(std::FILE* file, std::string path, bool writable, DbfLayout layout);
  std::string ReadBytes(long record, int offset, int size) const;
  void WriteBytes(std::uint64_t at, const std::string& bytes);

  std::unique_ptr<std::FILE, Closer> file_;
  std::string path_;
  bool writable_ = false;
  DbfLayout layout_;
};

}  // namespace zuvtill::runtime
