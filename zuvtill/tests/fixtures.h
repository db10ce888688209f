// Helpers shared by the zuvtill tests: a private directory that is removed
// at the end, DBF tables made with the runtime's own table writer, and a
// fresh runtime for every test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/dbf_table.h"
#include "runtime/runtime.h"
// RunCommand and Quoted for the system's shell, from the backend folder
// that the build puts on the include path (tests/posix or tests/windows).
#include "shell_command.h"

namespace zuvtill::testing {

using runtime::Value;

class TempDirectory {
 public:
  // A new directory of a name nobody has taken: create_directory says
  // whether this call made it.
  TempDirectory() {
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      std::filesystem::path candidate = temp / ("zuvtill_test_" + std::to_string(random() % 1000000000000ull));
      if (std::filesystem::create_directory(candidate)) path_ = candidate.generic_string();
    }
    if (path_.empty()) throw std::runtime_error("no new directory in " + temp.string());
  }
  ~TempDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(File(name), std::ios::binary) << bytes;
  }

 private:
  std::string path_;
};

// The process works in directory while this lives, as the host works in
// its own directory; the directory before is current again afterwards.
class WorkingIn {
 public:
  explicit WorkingIn(const std::string& directory) : before_(std::filesystem::current_path()) {
    std::filesystem::current_path(directory);
  }
  ~WorkingIn() {
    std::error_code ignored;
    std::filesystem::current_path(before_, ignored);
  }
  WorkingIn(const WorkingIn&) = delete;
  WorkingIn& operator=(const WorkingIn&) = delete;

 private:
  std::filesystem::path before_;
};

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Fields as {name, type, width, decimals}; rows of values in field order.
inline void MakeTable(const std::string& path, const std::vector<runtime::FieldInfo>& fields,
                      const std::vector<std::vector<Value>>& rows) {
  runtime::DbfTable table = runtime::DbfTable::Create(path, fields);
  for (const std::vector<Value>& row : rows) {
    long record = table.Append();
    for (std::size_t i = 0; i < row.size(); ++i) table.Write(record, static_cast<int>(i), row[i]);
  }
}

inline Value T(const std::string& text) { return Value::Text(text); }
inline Value N(double number) { return Value::Number(number); }

// Every test starts from a fresh runtime and leaves none behind.
class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override { runtime::Runtime::Get().Reset(); }
  void TearDown() override { runtime::Runtime::Get().Reset(); }
  runtime::Runtime& rt() { return runtime::Runtime::Get(); }
};

}  // namespace zuvtill::testing
