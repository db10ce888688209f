// The runtime's own dBase III tables against an independent reader and
// writer, Debian's python3-dbf: it reads what we write, we read what it
// writes (every field kind, Polish letters in code page 852, empty and
// deleted records), and both read the sample data alike.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/fixtures.h"
#include "runtime/code_page.h"
#include "runtime/dates.h"

namespace zuvtill::testing {
namespace {

using runtime::DbfTable;
using runtime::FieldInfo;

constexpr const char* kPython = "/usr/bin/python3";  // Debian's, where python3-dbf lives

// Every record of a table as python3-dbf reads it, a line each: "*" or " "
// for the deletion mark, then each field after a tab: text as UTF-8,
// numbers as Python writes them, T or F, dates as YYYYMMDD; a blank number,
// logical or date is empty.
constexpr const char* kDumpScript = R"(
import dbf, sys
t = dbf.Table(sys.argv[1])
t.open(dbf.READ_ONLY)
def text(v):
    if v is None: return ''
    if isinstance(v, bool): return 'T' if v else 'F'
    if hasattr(v, 'strftime'): return v.strftime('%Y%m%d')
    return str(v)
for r in t:
    print(('*' if dbf.is_deleted(r) else ' ') + ''.join('\t' + text(r[i]) for i in range(len(t.field_names))))
t.close()
)";

// A table written by python3-dbf, with the kinds and values below.
constexpr const char* kWriteScript = R"(
import dbf, sys
t = dbf.Table(sys.argv[1], 'NAZWA C(12); CENA N(10,2); ILOSC N(6,0); AKTYWNY L; DATA D', codepage='cp852', dbf_type='db3')
t.open(dbf.READ_WRITE)
t.append(('Żółw Łódź', 12.5, -3, True, dbf.Date(2026, 12, 15)))
t.append()
t.append(('usunięty', 1, 7, False, dbf.Date(1999, 1, 31)))
dbf.delete(t[2])
t.close()
)";

std::string RunPython(const TempDirectory& dir, const char* script, const std::string& table) {
  dir.Write("script.py", script);
  std::string out;
  EXPECT_EQ(RunCommand(std::string(kPython) + " " + Quoted(dir.File("script.py")) + " " + Quoted(table), out), 0)
      << out;
  return out;
}

// The same dump from our own reader, fields compared with python3-dbf's
// text by kind.
void ExpectSameRecords(const std::string& path, const std::string& pythonDump) {
  DbfTable table = DbfTable::Open(path);
  std::istringstream lines(pythonDump);
  std::string line;
  long record = 0;
  while (std::getline(lines, line)) {
    ++record;
    SCOPED_TRACE(path + " record " + std::to_string(record) + ": " + line);
    ASSERT_LE(record, table.RecordCount());
    EXPECT_EQ(table.Deleted(record), line[0] == '*');
    std::vector<std::string> values;
    for (std::size_t at = line.find('\t'); at != std::string::npos;) {
      const std::size_t next = line.find('\t', at + 1);
      values.push_back(line.substr(at + 1, next == std::string::npos ? std::string::npos : next - at - 1));
      at = next;
    }
    ASSERT_EQ(values.size(), table.Fields().size());
    for (std::size_t i = 0; i < values.size(); ++i) {
      const Value ours = table.Read(record, static_cast<int>(i));
      const std::string& theirs = values[i];
      switch (table.Fields()[i].type) {
        case 'N': EXPECT_NEAR(ours.AsNumber(), theirs.empty() ? 0 : std::stod(theirs), 1e-9) << i; break;
        case 'L': EXPECT_EQ(ours.AsLogical(), theirs == "T") << i; break;
        case 'D': EXPECT_EQ(runtime::Dtos(ours.AsDate()), theirs.empty() ? "        " : theirs) << i; break;
        default: EXPECT_EQ(runtime::Cp852ToUtf8(ours.AsText()), theirs) << i;
      }
    }
  }
  EXPECT_EQ(record, table.RecordCount());
}

class DbfPythonTest : public RuntimeTest {
 protected:
  TempDirectory dir_;
};

TEST_F(DbfPythonTest, ThePythonReaderReadsWhatWeWrite) {
  const std::string path = dir_.File("nasza.dbf");
  {
    DbfTable table = DbfTable::Create(path, {{"NAZWA", 'C', 12, 0, 0},
                                             {"CENA", 'N', 10, 2, 0},
                                             {"ILOSC", 'N', 6, 0, 0},
                                             {"AKTYWNY", 'L', 1, 0, 0},
                                             {"DATA", 'D', 8, 0, 0}});
    long r = table.Append();
    table.Write(r, 0, T(runtime::Utf8ToCp852("Żółw Łódź")));
    table.Write(r, 1, N(-1234.5));
    table.Write(r, 2, N(42));
    table.Write(r, 3, Value::Logical(true));
    table.Write(r, 4, Value::OfDate(runtime::MakeDate(2026, 12, 15)));
    table.Append();  // left blank
    r = table.Append();
    table.Write(r, 0, T("za dlugi tekst, uciety"));  // cut to its field
    table.Write(r, 3, Value::Logical(false));
  }
  const std::string dump = RunPython(dir_, kDumpScript, path);
  EXPECT_EQ(dump,
            " \tŻółw Łódź   \t-1234.5\t42\tT\t20261215\n"
            " \t            \t\t\t\t\n"
            " \tza dlugi tek\t\t\tF\t\n");
}

TEST_F(DbfPythonTest, WeReadWhatThePythonWriterWrites) {
  const std::string path = dir_.File("ich.dbf");
  RunPython(dir_, kWriteScript, path);
  DbfTable table = DbfTable::Open(path);
  ASSERT_EQ(table.RecordCount(), 3);
  ASSERT_EQ(table.Fields().size(), 5u);
  EXPECT_EQ(table.Fields()[1].name, "CENA");
  EXPECT_EQ(table.Fields()[1].decimals, 2);
  EXPECT_EQ(runtime::Cp852ToUtf8(table.Read(1, 0).AsText()), "Żółw Łódź   ");
  EXPECT_EQ(table.Read(1, 1).AsNumber(), 12.5);
  EXPECT_EQ(table.Read(1, 2).AsNumber(), -3);
  EXPECT_TRUE(table.Read(1, 3).AsLogical());
  EXPECT_EQ(runtime::Dtos(table.Read(1, 4).AsDate()), "20261215");
  EXPECT_EQ(table.Read(2, 1).AsNumber(), 0);  // the blank record
  EXPECT_FALSE(table.Deleted(2));
  EXPECT_TRUE(table.Deleted(3));
  EXPECT_EQ(runtime::Cp852ToUtf8(table.Read(3, 0).AsText()), "usunięty    ");  // a deleted record still reads
  ExpectSameRecords(path, RunPython(dir_, kDumpScript, path));

  // Appended and written by us, then read back by python3-dbf.
  {
    DbfTable again = DbfTable::Open(path);
    const long r = again.Append();
    again.Write(r, 0, T(runtime::Utf8ToCp852("Źrebię")));
    again.Write(r, 1, N(0.01));
  }
  const std::string dump = RunPython(dir_, kDumpScript, path);
  EXPECT_NE(dump.find(" \tŹrebię      \t0.01\t\t\t\n"), std::string::npos) << dump;
}

TEST_F(DbfPythonTest, TheSampleDataReadsAsThePythonReaderReadsIt) {
  int tables = 0;
  for (const auto& entry : std::filesystem::directory_iterator(ZUV_EXAMPLES_DIR "/zuvtill/dane")) {
    if (entry.path().extension() != ".dbf") continue;
    ++tables;
    ExpectSameRecords(entry.path().string(), RunPython(dir_, kDumpScript, entry.path().string()));
  }
  EXPECT_GE(tables, 9);
}

}  // namespace
}  // namespace zuvtill::testing
