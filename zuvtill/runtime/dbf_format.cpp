#include "runtime/dbf_format.h"

#include <algorithm>

#include "runtime/dates.h"
#include "runtime/host_error.h"
#include "runtime/text.h"

namespace zuvtill::runtime {
namespace {

constexpr std::size_t kDescriptor = 32;
constexpr char kTerminator = 0x0D;
constexpr unsigned char kDbase3 = 0x03;
constexpr unsigned char kCodePage852 = 100;  // the language driver mark
constexpr std::size_t kNameLength = 10;

unsigned Byte(std::string_view bytes, std::size_t at) { return static_cast<unsigned char>(bytes[at]); }
std::uint32_t Word(std::string_view bytes, std::size_t at) { return Byte(bytes, at) | Byte(bytes, at + 1) << 8; }
std::uint32_t Long(std::string_view bytes, std::size_t at) { return Word(bytes, at) | Word(bytes, at + 2) << 16; }

void PutWord(std::string& bytes, std::size_t at, std::uint32_t value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>(value >> 8 & 0xFF);
}
void PutLong(std::string& bytes, std::size_t at, std::uint32_t value) {
  PutWord(bytes, at, value & 0xFFFF);
  PutWord(bytes, at + 2, value >> 16);
}

// Numbers keep width and decimals in two bytes; every other kind has a
// 16-bit width there, as Clipper writes character fields longer than 255.
bool Numeric(char type) { return type == 'N' || type == 'F'; }

[[noreturn]] void Damaged(const std::string& path, const std::string& why) {
  throw HostError("damaged table " + path + ": " + why);
}

}  // namespace

std::size_t DbfHeaderLength(std::string_view first32) {
  if (first32.size() < kDbfFixedHeader || (Byte(first32, 0) & 0x07) != kDbase3) return 0;
  return Word(first32, 8);
}

DbfLayout ParseDbfHeader(std::string_view header, std::uint64_t fileSize, const std::string& path) {
  if (DbfHeaderLength(header) == 0) Damaged(path, "not a dBase III table");
  DbfLayout layout;
  layout.records = Long(header, 4);
  layout.headerLength = static_cast<std::uint16_t>(Word(header, 8));
  layout.recordLength = static_cast<std::uint16_t>(Word(header, 10));
  if (header.size() < layout.headerLength) Damaged(path, "the header is cut short");
  if (layout.recordLength < 1) Damaged(path, "records of no length");

  int offset = 1;  // after the deletion flag
  std::size_t at = kDbfFixedHeader;
  for (;; at += kDescriptor) {
    if (at >= layout.headerLength) Damaged(path, "no end to the field descriptors");
    if (header[at] == kTerminator) break;
    if (at + kDescriptor > layout.headerLength) Damaged(path, "a field descriptor is cut short");
    std::string_view d = header.substr(at, kDescriptor);
    std::string_view name = d.substr(0, kNameLength + 1);
    name = name.substr(0, name.find('\0'));
    FieldInfo f;
    f.name = Upper(name);
    f.type = static_cast<char>(Byte(d, 11));
    if (f.type == 'F') f.type = 'N';
    f.width = Numeric(f.type) ? static_cast<int>(Byte(d, 16)) : static_cast<int>(Word(d, 16));
    f.decimals = Numeric(f.type) ? static_cast<int>(Byte(d, 17)) : 0;
    f.offset = offset;
    if (f.name.empty()) Damaged(path, "a field without a name");
    if (f.width < 1) Damaged(path, "field " + f.name + " has no width");
    offset += f.width;
    if (offset > layout.recordLength) Damaged(path, "the fields do not fit the record length");
    layout.fields.push_back(std::move(f));
  }
  if (layout.fields.empty()) Damaged(path, "no fields");
  const std::uint64_t needed =
      layout.headerLength + static_cast<std::uint64_t>(layout.records) * layout.recordLength;
  if (needed > fileSize) {
    Damaged(path, std::to_string(layout.records) + " records claimed, " +
                      std::to_string((fileSize - layout.headerLength) / layout.recordLength) + " in the file");
  }
  return layout;
}

std::string MakeDbfHeader(std::vector<FieldInfo>& fields, const std::string& path) {
  const std::size_t length = kDbfFixedHeader + fields.size() * kDescriptor + 1;
  if (fields.empty() || length > 0xFFFF) throw HostError("cannot create table " + path + " with these fields");
  std::string header(length, '\0');
  header[0] = static_cast<char>(kDbase3);
  header[29] = static_cast<char>(kCodePage852);
  PutWord(header, 8, static_cast<std::uint32_t>(length));
  int offset = 1;
  std::size_t at = kDbfFixedHeader;
  for (FieldInfo& f : fields) {
    f.name = Upper(f.name);
    const bool numeric = Numeric(f.type);
    const int widthLimit = numeric ? 255 : 0xFFFF;
    if (f.name.empty() || f.name.size() > kNameLength || f.name.find('\0') != std::string::npos || f.width < 1 ||
        f.width > widthLimit || f.decimals < 0 || f.decimals > (numeric ? std::min(f.width, 255) : 0)) {
      throw HostError("cannot add field " + f.name + " to table " + path);
    }
    header.replace(at, f.name.size(), f.name);
    header[at + 11] = f.type;
    if (numeric) {
      header[at + 16] = static_cast<char>(f.width);
      header[at + 17] = static_cast<char>(f.decimals);
    } else {
      PutWord(header, at + 16, static_cast<std::uint32_t>(f.width));
    }
    f.offset = offset;
    offset += f.width;
    at += kDescriptor;
  }
  if (offset > 0xFFFF) throw HostError("cannot create table " + path + ": its records would be too long");
  PutWord(header, 10, static_cast<std::uint32_t>(offset));
  header[at] = kTerminator;
  header.replace(1, 7, DbfUpdateStamp(0));
  return header;
}

std::string DbfUpdateStamp(std::uint32_t records) {
  const YearMonthDay today = Split(Today());
  std::string stamp(7, '\0');
  stamp[0] = static_cast<char>((today.year - 1900) & 0xFF);
  stamp[1] = static_cast<char>(today.month);
  stamp[2] = static_cast<char>(today.day);
  PutLong(stamp, 3, records);
  return stamp;
}

}  // namespace zuvtill::runtime
