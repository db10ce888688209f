// The till library (libzuvtill.so, zuvtill.dll) as the embedded host binds
// it: loaded once, with every library it needs, so that a missing host
// library or device module fails the load itself; its functions and those
// of the libraries it binds are found by their upper-case export names.
// One backend per system (posix/, windows/); paths are UTF-8.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "runtime/params.h"

namespace zuvtill::host {

class LoadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TillLibrary {
 public:
  // Loads the library file; throws LoadError with the system's message.
  explicit TillLibrary(const std::string& path);
  ~TillLibrary();
  TillLibrary(const TillLibrary&) = delete;
  TillLibrary& operator=(const TillLibrary&) = delete;

  // The export of that upper-case name in the till library or one of the
  // libraries it binds; null for any other name or symbol (nothing else of
  // the process can be called this way).
  runtime::HostFunction Find(std::string_view upperName) const;

 private:
  void* handle_;
};

// The till library's file name: "libzuvtill.so", "zuvtill.dll".
extern const char* const kTillLibraryName;

// The till library beside the running program.
std::string TillLibraryBesideProgram();

}  // namespace zuvtill::host
