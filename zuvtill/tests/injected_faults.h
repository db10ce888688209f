// Faults and odd files of the file system, made for this test process, to
// see what the library does when a file cannot be opened or written or is
// no file at all. One backend per system (posix/, windows/).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zuvtill::testing {

// While this lives, the existing file at path (relative to the current
// directory) cannot be opened for writing, as when another program holds
// it locked: the open fails with a sharing violation. Files are still
// created.
class HeldByAnotherProgram {
 public:
  explicit HeldByAnotherProgram(const std::string& path);
  ~HeldByAnotherProgram();
  HeldByAnotherProgram(const HeldByAnotherProgram&) = delete;
  HeldByAnotherProgram& operator=(const HeldByAnotherProgram&) = delete;

 private:
  void* held_ = nullptr;  // Windows: the handle that holds the file
};

// While this lives, no file grows beyond the limit: writes past it fail as
// on a full device. Where the system has no such limit, Supported() is
// false and this does nothing.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::uintmax_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  static bool Supported();

 private:
  std::uintmax_t before_ = 0;
  void (*signalBefore_)(int) = nullptr;
};

// Makes a FIFO at path; false where the file system has none.
bool MakeFifo(const std::string& path);

// What a file's name in the directory (a path relative to the current
// directory, "/"-separated) may name that is no file: a FIFO, a device.
// Answers their DOS names ("FISK\FIFO"), made where they need making.
std::vector<std::string> NoRegularFiles(const std::string& directory);

// Program files that the system cannot start, each with what is wrong.
struct UnstartableProgram {
  std::string what;
  std::string bytes;
  bool executable;  // as MakeExecutable leaves it
};
std::vector<UnstartableProgram> UnstartablePrograms();

// Lets the system start the file as a program, or not. (Windows starts any
// image whose name says it is one.)
void MakeExecutable(const std::string& path, bool executable);

// Whether the system lets a directory be moved while a process works in
// it. (Windows refuses; Wine moves it but cannot name it again by its
// handle, so the way back is no test there.)
bool MovesDirectoriesInUse();

}  // namespace zuvtill::testing
