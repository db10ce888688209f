#include "injected_faults.h"

#include <dlfcn.h>
#include <fcntl.h>

#include <cerrno>
#include <cstdarg>
#include <string_view>

namespace {

std::string refusedSuffix;
int refusal = 0;

bool Refused(const char* path, int flags) {
  if (refusal == 0 || (flags & O_CREAT) || (flags & O_ACCMODE) == O_RDONLY) return false;
  std::string_view p(path);
  return p.size() >= refusedSuffix.size() && p.substr(p.size() - refusedSuffix.size()) == refusedSuffix;
}

}  // namespace

// The runtime's open(), seen first here.
extern "C" int open(const char* path, int flags, ...) {
  mode_t mode = 0;
  if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) {
    va_list ap;
    va_start(ap, flags);
    mode = va_arg(ap, mode_t);
    va_end(ap);
  }
  if (Refused(path, flags)) {
    errno = refusal;
    return -1;
  }
  using Open = int (*)(const char*, int, ...);
  static Open next = reinterpret_cast<Open>(::dlsym(RTLD_NEXT, "open"));
  return next(path, flags, mode);
}

namespace zuvtill::testing {

RefusedWriteOpens::RefusedWriteOpens(std::string pathSuffix, int error) {
  refusedSuffix = std::move(pathSuffix);
  refusal = error;
}

RefusedWriteOpens::~RefusedWriteOpens() {
  refusal = 0;
  refusedSuffix.clear();
}

}  // namespace zuvtill::testing
