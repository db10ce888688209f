// The faults as Windows has them: a file held open with no sharing by
// another handle is a real sharing violation. Windows has no file-size
// limit for a process and no FIFOs in the file system; its devices are
// reached by reserved names in any directory ("FISK\NUL").
#include "tests/injected_faults.h"

#include <windows.h>

namespace zuvtill::testing {

HeldByAnotherProgram::HeldByAnotherProgram(const std::string& path) {
  HANDLE held = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  held_ = held == INVALID_HANDLE_VALUE ? nullptr : held;
}

HeldByAnotherProgram::~HeldByAnotherProgram() {
  if (held_) ::CloseHandle(held_);
}

FileSizeLimit::FileSizeLimit(std::uintmax_t) {}
FileSizeLimit::~FileSizeLimit() = default;
bool FileSizeLimit::Supported() { return false; }

bool MakeFifo(const std::string&) { return false; }

std::vector<std::string> NoRegularFiles(const std::string& directory) {
  std::string dos = directory;
  for (char& c : dos) c = c == '/' ? '\\' : c;
  return {dos + "\\NUL"};
}

// A text under a program's name, and an image cut off after its DOS header.
std::vector<UnstartableProgram> UnstartablePrograms() {
  std::string cut = "MZ" + std::string(58, '\0') + std::string("\x40\0\0\0", 4) + "PE\0\0";
  return {{"no program image", "@echo off\r\nexit 0\r\n", true}, {"an image cut off", cut, true}};
}

void MakeExecutable(const std::string&, bool) {}

bool MovesDirectoriesInUse() { return false; }

}  // namespace zuvtill::testing
