// A file of the test's own, removed when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace zuvprint::testing {

class TempFile {
 public:
  explicit TempFile(std::string_view contents, std::string_view extension = ".tmp")
      : path_(std::filesystem::temp_directory_path() /
              ("zuvprint_test_" + std::to_string(std::random_device{}()) + "_" + std::to_string(counter_++) +
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

}  // namespace zuvprint::testing
