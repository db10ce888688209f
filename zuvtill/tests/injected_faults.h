// Faults of the file system injected into this test process, to see what
// the library does when a file cannot be opened or written:
//
// RefusedWriteOpens makes every open of an existing file for writing whose
// path ends with the suffix fail with the error, as when another program
// holds the file locked (open() is interposed by this test program, so the
// runtime's own calls meet the refusal); files are still created.
//
// FileSizeLimit lets no file grow beyond the limit (writes past it fail
// with EFBIG, as on a full device).
#pragma once

#include <sys/resource.h>

#include <csignal>
#include <string>

namespace zuvtill::testing {

class RefusedWriteOpens {
 public:
  RefusedWriteOpens(std::string pathSuffix, int error);
  ~RefusedWriteOpens();
  RefusedWriteOpens(const RefusedWriteOpens&) = delete;
  RefusedWriteOpens& operator=(const RefusedWriteOpens&) = delete;
};

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &before_);
    signalBefore_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{bytes, before_.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &before_);
    std::signal(SIGXFSZ, signalBefore_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit before_{};
  void (*signalBefore_)(int) = nullptr;
};

}  // namespace zuvtill::testing
