// DBF tables from untrusted bytes: a table opens or is refused with a host
// error; one that opens reads every field of every record, and takes an
// appended record and a written field, never a crash.
#include "fuzz_support.h"
#include "runtime/dbf_table.h"
#include "runtime/host_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zuvtill::runtime;
  const std::string path = zuvprint::fuzzing::WriteInput("tabela.dbf", data, size);
  try {
    DbfTable table = DbfTable::Open(path);
    const long records = table.RecordCount();
    // The first records and the end: a table of 65,000 one-byte records
    // takes no more than a few.
    for (long r = 0; r <= records + 1; r = r == 100 && records > 200 ? records - 100 : r + 1)
      for (std::size_t f = 0; f < table.Fields().size(); ++f) (void)table.Read(r, static_cast<int>(f));
    const long appended = table.Append();
    table.Write(appended, 0, DbfTable::EmptyValue(table.Fields()[0]));
    if (table.RecordCount() != records + 1) std::abort();
  } catch (const HostError&) {
  }
  return 0;
}
