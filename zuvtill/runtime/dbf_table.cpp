#include "runtime/dbf_table.h"

#include <cmath>
#include <cstdio>

#include "runtime/dates.h"
#include "runtime/host_error.h"
#include "runtime/numbers.h"
#include "runtime/text.h"

namespace zuvtill::runtime {

namespace {

// shapelib's file calls, with the files closed on exec so that no program
// the host starts inherits its tables, and without shapelib's own messages
// (the errors are reported by the callers).
SAFile OpenClosedOnExec(const char* filename, const char* access) {
  std::string mode = std::string(access) + "e";
  return reinterpret_cast<SAFile>(std::fopen(filename, mode.c_str()));
}

void Quiet(const char*) {}

SAHooks* Hooks() {
  static SAHooks hooks = [] {
    SAHooks h;
    SASetupDefaultHooks(&h);
    h.FOpen = OpenClosedOnExec;
    h.Error = Quiet;
    return h;
  }();
  return &hooks;
}

}  // namespace

void DbfTable::Closer::operator()(DBFInfo* handle) const { DBFClose(handle); }

DbfTable::DbfTable(DBFHandle handle, std::string path, bool writable)
    : handle_(handle), path_(std::move(path)), writable_(writable) {
  int offset = 1;
  for (int i = 0; i < DBFGetFieldCount(handle); ++i) {
    char name[XBASE_FLDNAME_LEN_READ + 1] = {};
    int width = 0, decimals = 0;
    DBFGetFieldInfo(handle, i, name, &width, &decimals);
    char type = DBFGetNativeFieldType(handle, i);
    if (type == 'F') type = 'N';
    fields_.push_back({Upper(name), type, width, decimals, offset});
    offset += width;
  }
}

DbfTable DbfTable::Open(const std::string& path) {
  bool writable = true;
  DBFHandle handle = DBFOpenLL(path.c_str(), "rb+", Hooks());
  if (!handle) {
    writable = false;
    handle = DBFOpenLL(path.c_str(), "rb", Hooks());
  }
  if (!handle) throw HostError("cannot open table " + path);
  return DbfTable(handle, path, writable);
}

DbfTable DbfTable::Create(const std::string& path, const std::vector<FieldInfo>& fields) {
  // The header's language driver mark 100 says "code page 852".
  DBFHandle handle = DBFCreateLL(path.c_str(), "LDID/100", Hooks());
  if (!handle) throw HostError("cannot create table " + path);
  DbfTable table(handle, path, true);
  for (const FieldInfo& f : fields) {
    if (DBFAddNativeFieldType(handle, f.name.c_str(), f.type, f.width, f.decimals) < 0) {
      throw HostError("cannot add field " + f.name + " to table " + path);
    }
  }
  return DbfTable(table.handle_.release(), path, true);
}

int DbfTable::FieldIndex(std::string_view name) const {
  std::string wanted = Upper(name);
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (fields_[i].name == wanted) return static_cast<int>(i);
  }
  return -1;
}

long DbfTable::RecordCount() const { return DBFGetRecordCount(handle_.get()); }

Value DbfTable::EmptyValue(const FieldInfo& field) {
  switch (field.type) {
    case 'N': return Value::Number(0);
    case 'L': return Value::Logical(false);
    case 'D': return Value::OfDate({});
    case 'M': return Value::Text("");
    default: return Value::Text(std::string(field.width, ' '));
  }
}

Value DbfTable::Read(long record, int field) const {
  const FieldInfo& f = fields_.at(field);
  if (record < 1 || record > RecordCount()) return EmptyValue(f);
  // The raw record, so that character fields keep their blanks.
  const char* raw = DBFReadTuple(handle_.get(), static_cast<int>(record - 1));
  if (!raw) throw HostError("cannot read record " + std::to_string(record) + " of " + path_);
  std::string bytes(raw + f.offset, f.width);
  switch (f.type) {
    case 'N': return Value::Number(Val(bytes));
    case 'L': return Value::Logical(!bytes.empty() && std::string_view("TtYy").find(bytes[0]) != std::string_view::npos);
    case 'D': return Value::OfDate(Stod(bytes));
    case 'M': return Value::Text("");
    default: return Value::Text(bytes);
  }
}

void DbfTable::Write(long record, int field, const Value& value) {
  const FieldInfo& f = fields_.at(field);
  if (!writable_) throw HostError("table " + path_ + " is read-only");
  if (record < 1 || record > RecordCount()) throw HostError("no record to write at the end of " + path_);
  std::string bytes;
  switch (f.type) {
    case 'N': bytes = Str(value.AsNumber(), f.width, f.decimals); break;
    case 'L': bytes = value.AsLogical() ? "T" : "F"; break;
    case 'D': bytes = Dtos(value.AsDate()); break;
    case 'C': bytes = PadR(value.AsText(), f.width); break;
    default: throw HostError("field " + f.name + " cannot be written");
  }
  if (!DBFWriteAttributeDirectly(handle_.get(), static_cast<int>(record - 1), field, bytes.data())) {
    throw HostError("cannot write field " + f.name + " of " + path_);
  }
}

long DbfTable::Append() {
  if (!writable_) throw HostError("table " + path_ + " is read-only");
  long record = RecordCount() + 1;
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    std::string blank(fields_[i].width, ' ');
    if (!DBFWriteAttributeDirectly(handle_.get(), static_cast<int>(record - 1), static_cast<int>(i), blank.data())) {
      throw HostError("cannot append to " + path_);
    }
  }
  return record;
}

}  // namespace zuvtill::runtime
