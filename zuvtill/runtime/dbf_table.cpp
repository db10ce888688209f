#include "runtime/dbf_table.h"

#include <cstdint>

#include "runtime/dates.h"
#include "runtime/host_error.h"
#include "runtime/native_file.h"
#include "runtime/numbers.h"
#include "runtime/text.h"

namespace zuvtill::runtime {

namespace {

std::uint64_t FileSize(std::FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0) return 0;
  const long size = std::ftell(file);
  return size < 0 ? 0 : static_cast<std::uint64_t>(size);
}

// Up to size bytes from offset at.
std::string ReadAt(std::FILE* file, std::uint64_t at, std::size_t size) {
  std::string bytes(size, '\0');
  if (std::fseek(file, static_cast<long>(at), SEEK_SET) != 0) return {};
  bytes.resize(std::fread(bytes.data(), 1, size, file));
  return bytes;
}

}  // namespace

DbfTable::DbfTable(std::FILE* file, std::string path, bool writable, DbfLayout layout)
    : file_(file), path_(std::move(path)), writable_(writable), layout_(std::move(layout)) {}

DbfTable DbfTable::Open(const std::string& path) {
  bool writable = true;
  std::FILE* file = OpenStreamFile(path, "rb+");
  if (!file) {
    writable = false;
    file = OpenStreamFile(path, "rb");
  }
  if (!file) throw HostError("cannot open table " + path);
  std::unique_ptr<std::FILE, Closer> owned(file);
  const std::uint64_t size = FileSize(file);
  std::string header = ReadAt(file, 0, kDbfFixedHeader);
  const std::size_t headerLength = DbfHeaderLength(header);
  if (headerLength > header.size()) header += ReadAt(file, header.size(), headerLength - header.size());
  DbfLayout layout = ParseDbfHeader(header, size, path);
  return DbfTable(owned.release(), path, writable, std::move(layout));
}

DbfTable DbfTable::Create(const std::string& path, const std::vector<FieldInfo>& fields) {
  DbfLayout layout;
  layout.fields = fields;
  const std::string header = MakeDbfHeader(layout.fields, path);
  layout.headerLength = static_cast<std::uint16_t>(header.size());
  const FieldInfo& last = layout.fields.back();
  layout.recordLength = static_cast<std::uint16_t>(last.offset + last.width);
  std::FILE* file = OpenStreamFile(path, "wb+");
  if (!file) throw HostError("cannot create table " + path);
  DbfTable table(file, path, true, std::move(layout));
  table.WriteBytes(0, header + kDbfEndOfFile);
  return table;
}

int DbfTable::FieldIndex(std::string_view name) const {
  std::string wanted = Upper(name);
  for (std::size_t i = 0; i < layout_.fields.size(); ++i) {
    if (layout_.fields[i].name == wanted) return static_cast<int>(i);
  }
  return -1;
}

bool DbfTable::Deleted(long record) const {
  return record >= 1 && record <= RecordCount() && ReadBytes(record, 0, 1) == "*";
}

std::string DbfTable::ReadBytes(long record, int offset, int size) const {
  const std::uint64_t at = layout_.headerLength + static_cast<std::uint64_t>(record - 1) * layout_.recordLength + offset;
  std::string bytes = ReadAt(file_.get(), at, static_cast<std::size_t>(size));
  if (bytes.size() != static_cast<std::size_t>(size)) {
    throw HostError("cannot read record " + std::to_string(record) + " of " + path_);
  }
  return bytes;
}

void DbfTable::WriteBytes(std::uint64_t at, const std::string& bytes) {
  std::FILE* file = file_.get();
  if (std::fseek(file, static_cast<long>(at), SEEK_SET) != 0 ||
      std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fflush(file) != 0) {
    throw HostError("cannot write to table " + path_);
  }
}

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
  const FieldInfo& f = layout_.fields.at(field);
  if (record < 1 || record > RecordCount()) return EmptyValue(f);
  // The raw bytes, so that character fields keep their blanks.
  const std::string bytes = ReadBytes(record, f.offset, f.width);
  switch (f.type) {
    case 'N': return Value::Number(Val(bytes));
    case 'L': return Value::Logical(!bytes.empty() && std::string_view("TtYy").find(bytes[0]) != std::string_view::npos);
    case 'D': return Value::OfDate(Stod(bytes));
    case 'M': return Value::Text("");
    default: return Value::Text(bytes);
  }
}

void DbfTable::Write(long record, int field, const Value& value) {
  const FieldInfo& f = layout_.fields.at(field);
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
  // A value longer than its field is cut to the field's width.
  bytes.resize(static_cast<std::size_t>(f.width), ' ');
  WriteBytes(layout_.headerLength + static_cast<std::uint64_t>(record - 1) * layout_.recordLength + f.offset, bytes);
}

long DbfTable::Append() {
  if (!writable_) throw HostError("table " + path_ + " is read-only");
  if (layout_.records == UINT32_MAX) throw HostError("cannot append to " + path_);
  // The blank record and the end mark first, then the count that takes it in.
  const std::uint64_t end = layout_.headerLength + static_cast<std::uint64_t>(layout_.records) * layout_.recordLength;
  WriteBytes(end, std::string(layout_.recordLength, ' ') + kDbfEndOfFile);
  WriteBytes(1, DbfUpdateStamp(layout_.records + 1));
  return ++layout_.records;
}

}  // namespace zuvtill::runtime
