// The layout of a dBase III table file: a 32-byte header, one 32-byte
// descriptor per field, a 0x0D terminator, then fixed-length records (a
// deletion flag, blank or "*", followed by the fields' bytes), then an
// end-of-file mark 0x1A. Numbers in the header are little-endian.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zuvtill::runtime {

struct FieldInfo {
  std::string name;  // upper case
  char type = 'C';   // C N L D (F is read as N; M reads as an empty text)
  int width = 0;
  int decimals = 0;
  int offset = 0;  // of the field in the raw record (byte 0 is the deletion flag)
};

struct DbfLayout {
  std::uint32_t records = 0;
  std::uint16_t headerLength = 0;
  std::uint16_t recordLength = 0;
  std::vector<FieldInfo> fields;
};

constexpr std::size_t kDbfFixedHeader = 32;
constexpr char kDbfEndOfFile = 0x1A;

// The header length that the first 32 bytes give, so that the rest of the
// header can be read; 0 when they are no dBase III header.
std::size_t DbfHeaderLength(std::string_view first32);

// Reads the header of a table file of fileSize bytes. Every count and
// length is checked against the others and against the file: the fields
// must fit the record, the records the file. Throws HostError saying what
// is wrong with the table at path.
DbfLayout ParseDbfHeader(std::string_view header, std::uint64_t fileSize, const std::string& path);

// The header of a new table with these fields and no records, dated with
// today's date, marked as code page 852. Fills in the fields' offsets.
// Throws HostError for a field that a dBase III table cannot hold.
std::string MakeDbfHeader(std::vector<FieldInfo>& fields, const std::string& path);

// Bytes 1 to 7 of the header: the date of the last update and the record count.
std::string DbfUpdateStamp(std::uint32_t records);

}  // namespace zuvtill::runtime
