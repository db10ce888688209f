// The kept directory on POSIX: an O_PATH descriptor, fchdir back into it,
// the same directory by device and inode.
#include "runtime/current_directory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "runtime/dos_path.h"

namespace zuvtill::runtime {
namespace {

int Descriptor(std::intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

KeptDirectory::KeptDirectory() {
  int fd = ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) handle_ = fd;
}

KeptDirectory::~KeptDirectory() {
  if (handle_ != kNone) ::close(Descriptor(handle_));
}

bool KeptDirectory::IsCurrent() const {
  struct stat here, kept;
  return handle_ != kNone && ::stat(".", &here) == 0 && ::fstat(Descriptor(handle_), &kept) == 0 &&
         here.st_dev == kept.st_dev && here.st_ino == kept.st_ino;
}

bool KeptDirectory::MakeCurrent() const { return handle_ != kNone && ::fchdir(Descriptor(handle_)) == 0; }

std::string CurrentDirectory() {
  char buffer[PATH_MAX];
  std::string directory = ::getcwd(buffer, sizeof buffer) ? buffer : ".";
  while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  return directory;
}

int ChangeDirectory(std::string_view dosPath) {
  std::string path = HostPath(dosPath);
  if (path.empty()) return 3;
  return ::chdir(path.c_str()) == 0 ? 0 : DosErrorForPath(errno, path);
}

}  // namespace zuvtill::runtime
