// Byte files on POSIX: file descriptors, errno values as DOS codes.
#include "runtime/native_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "runtime/dos_path.h"

namespace zuvtill::runtime {
namespace {

int Descriptor(std::intptr_t handle) { return static_cast<int>(handle); }

// Opens without waiting (a FIFO would block until its other end opens) and
// keeps only regular files: a directory, FIFO or device is no file to the
// host, and reading one could never end.
int OpenRegularFile(const std::string& path, int flags) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    errno = EACCES;
    return -1;
  }
  int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return fd;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    errno = EACCES;
    return -1;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

}  // namespace

int NativeFile::Open(const std::string& path, Access access, bool create) {
  Close();
  int flags = create                        ? O_RDWR | O_CREAT | O_TRUNC
              : access == Access::kRead     ? O_RDONLY
              : access == Access::kWrite    ? O_WRONLY
                                            : O_RDWR;
  int fd = OpenRegularFile(path, flags);
  if (fd < 0) return DosErrorForPath(errno, path);
  handle_ = fd;
  return 0;
}

int NativeFile::Seek(std::int64_t offset, int origin, std::int64_t& position) {
  int whence = origin == 1 ? SEEK_CUR : origin == 2 ? SEEK_END : SEEK_SET;
  off_t at = ::lseek(Descriptor(handle_), static_cast<off_t>(offset), whence);
  if (at < 0) return DosError(errno);
  position = at;
  return 0;
}

int NativeFile::Read(char* buffer, std::size_t size, std::size_t& got) {
  got = 0;
  while (got < size) {
    ssize_t n = ::read(Descriptor(handle_), buffer + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    // A handle that is not open for reading is refused as DOS refuses it.
    if (n < 0) return errno == EBADF ? 5 : 30;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return 0;
}

int NativeFile::Write(const char* bytes, std::size_t size, std::size_t& put) {
  put = 0;
  while (put < size) {
    ssize_t n = ::write(Descriptor(handle_), bytes + put, size - put);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n == 0 || errno == EIO ? 29 : errno == EBADF ? 5 : DosError(errno);
    put += static_cast<std::size_t>(n);
  }
  return 0;
}

int NativeFile::Close() {
  if (handle_ == kNone) return 0;
  int fd = Descriptor(std::exchange(handle_, kNone));
  return ::close(fd) == 0 ? 0 : DosError(errno);
}

int EraseFile(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return 5;
  return ::unlink(path.c_str()) == 0 ? 0 : DosErrorForPath(errno, path);
}

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool PathOccupied(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// "e": closed on exec.
std::FILE* OpenStreamFile(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), (std::string(mode) + "e").c_str());
}

}  // namespace zuvtill::runtime
