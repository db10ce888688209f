#include "runtime/byte_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "runtime/dos_path.h"

namespace zuvtill::runtime {

ByteFiles::~ByteFiles() { CloseAll(); }

void ByteFiles::CloseAll() {
  for (const auto& [fd, open] : open_) ::close(fd);
  open_.clear();
}

bool ByteFiles::Known(int handle) {
  if (open_.count(handle)) return true;
  lastError_ = 6;  // invalid handle
  return false;
}

namespace {

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

int ByteFiles::Open(const std::string& dosPath, int mode) {
  static constexpr int kFlags[] = {O_RDONLY, O_WRONLY, O_RDWR, O_RDWR};
  std::string path = HostPath(dosPath);
  return Opened(OpenRegularFile(path, kFlags[mode & 3]), path);
}

int ByteFiles::Create(const std::string& dosPath) {
  std::string path = HostPath(dosPath);
  return Opened(OpenRegularFile(path, O_RDWR | O_CREAT | O_TRUNC), path);
}

int ByteFiles::Opened(int fd, const std::string& path) {
  if (fd < 0) {
    lastError_ = DosErrorForPath(errno, path);
    return -1;
  }
  open_[fd] = true;
  lastError_ = 0;
  return fd;
}

long ByteFiles::Seek(int handle, long offset, int origin) {
  if (!Known(handle)) return 0;
  int whence = origin == 1 ? SEEK_CUR : origin == 2 ? SEEK_END : SEEK_SET;
  off_t at = ::lseek(handle, offset, whence);
  if (at < 0) {
    lastError_ = 25;  // seek error
    return ::lseek(handle, 0, SEEK_CUR);
  }
  lastError_ = 0;
  return at;
}

std::string ByteFiles::Read(int handle, long count) {
  std::string bytes;
  if (!Known(handle) || count <= 0) return bytes;
  bytes.resize(count);
  std::size_t got = 0;
  while (got < bytes.size()) {
    ssize_t n = ::read(handle, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      // A handle that is not open for reading is refused as DOS refuses it.
      lastError_ = errno == EBADF ? 5 : 30;
      bytes.resize(got);
      return bytes;
    }
    if (n == 0) break;
    got += n;
  }
  bytes.resize(got);
  lastError_ = 0;
  return bytes;
}

std::string ByteFiles::ReadString(int handle, long count) {
  std::string bytes = Read(handle, count);
  std::size_t zero = bytes.find('\0');
  if (zero != std::string::npos) {
    // Put the file back just after the zero byte.
    ::lseek(handle, static_cast<off_t>(zero + 1) - static_cast<off_t>(bytes.size()), SEEK_CUR);
    bytes.resize(zero);
  }
  return bytes;
}

long ByteFiles::Write(int handle, const std::string& bytes) {
  if (!Known(handle)) return 0;
  std::size_t put = 0;
  while (put < bytes.size()) {
    ssize_t n = ::write(handle, bytes.data() + put, bytes.size() - put);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      lastError_ = n == 0 || errno == EIO ? 29 : errno == EBADF ? 5 : DosError(errno);
      return static_cast<long>(put);
    }
    put += n;
  }
  lastError_ = 0;
  return static_cast<long>(put);
}

bool ByteFiles::Close(int handle) {
  if (!Known(handle)) return false;
  open_.erase(handle);
  if (::close(handle) != 0) {
    lastError_ = DosError(errno);
    return false;
  }
  lastError_ = 0;
  return true;
}

int ByteFiles::Erase(const std::string& dosPath) {
  std::string path = HostPath(dosPath);
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    lastError_ = 5;
    return -1;
  }
  if (::unlink(path.c_str()) != 0) {
    lastError_ = DosErrorForPath(errno, path);
    return -1;
  }
  lastError_ = 0;
  return 0;
}

bool ByteFiles::Exists(const std::string& dosPath) {
  struct stat st;
  return ::stat(HostPath(dosPath).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool ByteFiles::Occupied(const std::string& dosPath) {
  struct stat st;
  return ::lstat(HostPath(dosPath).c_str(), &st) == 0;
}

}  // namespace zuvtill::runtime
