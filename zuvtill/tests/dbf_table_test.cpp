// The runtime's own dBase III tables: a damaged table is a host error,
// never a crash. (How they compare with an independent reader and writer,
// Debian's python3-dbf, is in posix/dbf_python_test.cpp.)
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "fixtures.h"
#include "runtime/host_error.h"

namespace zuvtill::testing {
namespace {

using runtime::DbfTable;
using runtime::HostError;

class DbfTableTest : public RuntimeTest {
 protected:
  TempDirectory dir_;
};

// A good table, then the same bytes damaged in one place each.
TEST_F(DbfTableTest, ADamagedTableIsAHostErrorNamingTheFile) {
  const std::string good = dir_.File("dobra.dbf");
  MakeTable(good, {{"A", 'C', 3, 0, 0}, {"B", 'N', 5, 1, 0}}, {{T("abc"), N(1.5)}, {T("xyz"), N(-2)}});
  std::ifstream in(good, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(bytes.size(), 32u + 2 * 32 + 1 + 2 * 9 + 1);
  auto with = [&](std::size_t at, std::string patch) { return std::string(bytes).replace(at, patch.size(), patch); };
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"an empty file", ""},
      {"a header cut short", bytes.substr(0, 40)},
      {"records cut short", bytes.substr(0, bytes.size() - 5)},
      {"not dBase III", with(0, "\x30")},
      {"more records claimed", with(4, std::string("\xff\xff\xff\x7f", 4))},
      {"a header longer than the file", with(8, std::string("\xff\xff", 2))},
      {"no terminator", with(96, "A")},
      {"fields wider than the record", with(10, std::string("\x03\x00", 2))},
      {"a field of no width", with(32 + 16, std::string("\x00", 1))},
      {"a record length of 0", with(10, std::string("\x00\x00", 2))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = dir_.File("zla.dbf");
    dir_.Write("zla.dbf", c.bytes);
    try {
      DbfTable::Open(path);
      ADD_FAILURE() << "opened";
    } catch (const HostError& e) {
      EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace zuvtill::testing
