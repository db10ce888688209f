// The faults by interposing open() and by the file-size limit of the
// process (RLIMIT_FSIZE); FIFOs and devices as the file system has them.
#include "tests/injected_faults.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <filesystem>
#include <string_view>

namespace {

std::string refusedSuffix;

bool Refused(const char* path, int flags) {
  if (refusedSuffix.empty() || (flags & O_CREAT) || (flags & O_ACCMODE) == O_RDONLY) return false;
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
    errno = EBUSY;
    return -1;
  }
  using Open = int (*)(const char*, int, ...);
  static Open next = reinterpret_cast<Open>(::dlsym(RTLD_NEXT, "open"));
  return next(path, flags, mode);
}

namespace zuvtill::testing {

HeldByAnotherProgram::HeldByAnotherProgram(const std::string& path) { refusedSuffix = path; }

HeldByAnotherProgram::~HeldByAnotherProgram() { refusedSuffix.clear(); }

FileSizeLimit::FileSizeLimit(std::uintmax_t bytes) {
  rlimit before{};
  ::getrlimit(RLIMIT_FSIZE, &before);
  before_ = before.rlim_cur;
  signalBefore_ = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{static_cast<rlim_t>(bytes), before.rlim_max};
  ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = static_cast<rlim_t>(before_);
  ::setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, signalBefore_);
}

bool FileSizeLimit::Supported() { return true; }

bool MakeFifo(const std::string& path) { return ::mkfifo(path.c_str(), 0666) == 0; }

std::vector<std::string> NoRegularFiles(const std::string& directory) {
  std::string dos = directory;
  for (char& c : dos) c = c == '/' ? '\\' : c;
  if (!MakeFifo(directory + "/FIFO")) return {};
  std::filesystem::create_symlink("/dev/zero", directory + "/ZERO");
  return {dos + "\\FIFO", dos + "\\ZERO"};
}

std::vector<UnstartableProgram> UnstartablePrograms() {
  return {{"not executable", "#!/bin/sh\nexit 0\n", false},
          {"its interpreter missing", "#!/nonexistent/sh\nexit 0\n", true}};
}

void MakeExecutable(const std::string& path, bool executable) { ::chmod(path.c_str(), executable ? 0755 : 0644); }

bool MovesDirectoriesInUse() { return true; }

}  // namespace zuvtill::testing
