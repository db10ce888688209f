// Small helpers shared by the unit tests.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "ksef/crypto.h"

namespace zuvprint::testing {

// A file of the test's own with the given contents, removed when the test ends.
class TempFile {
 public:
  explicit TempFile(std::string_view contents, std::string_view extension = ".tmp")
      : path_(std::filesystem::temp_directory_path() /
              ("zuvprint_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter_++) +
               std::string(extension))) {
    std::ofstream(path_, std::ios::binary) << contents;
  }
  ~TempFile() { std::filesystem::remove(path_); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  std::string path() const { return path_.string(); }

 private:
  static inline int counter_ = 0;
  std::filesystem::path path_;
};

// Runs f, which must raise a KsefError, and answers its message.
template <typename F>
std::string ErrorOf(F f) {
  try {
    f();
  } catch (const KsefError& e) {
    return e.what();
  }
  ADD_FAILURE() << "no KsefError";
  return "";
}

}  // namespace zuvprint::testing
