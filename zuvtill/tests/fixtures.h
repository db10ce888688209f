// Helpers shared by the zuvtill tests: a private directory that is removed
// at the end, DBF tables made with the runtime's own table writer, and a
// fresh runtime for every test.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/dbf_table.h"
#include "runtime/runtime.h"

namespace zuvtill::testing {

using runtime::Value;

class TempDirectory {
 public:
  TempDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zuvtill_test_XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
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

// Runs a command through the shell; answers its exit status and, in out,
// its standard output and error together.
inline int RunCommand(const std::string& command, std::string& out) {
  out.clear();
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return -1;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  int status = ::pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string Quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace zuvtill::testing
