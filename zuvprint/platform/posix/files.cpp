// Files on POSIX: descriptors, stat and link.
#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zuvprint::platform {

namespace {

int Fd(const NativeFile& file) { return static_cast<int>(file.Get()); }

void Fail(NewName& outcome, int error) {
  outcome.taken = error == EEXIST;
  outcome.error = std::strerror(error);
}

}  // namespace

const char kPathSeparator = '/';
const std::string_view kPathSeparators = "/";

bool NativeFile::Close() {
  if (!IsOpen()) return true;
  return ::close(static_cast<int>(Release())) == 0;
}

std::int64_t NativeFile::Read(void* data, std::size_t size) {
  for (;;) {
    ssize_t n = ::read(Fd(*this), data, size);
    if (n >= 0 || errno != EINTR) return n;
  }
}

std::int64_t NativeFile::ReadAt(std::uint64_t offset, void* data, std::size_t size) const {
  for (;;) {
    ssize_t n = ::pread(Fd(*this), data, size, static_cast<off_t>(offset));
    if (n >= 0 || errno != EINTR) return n;
  }
}

bool NativeFile::Write(const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = ::write(Fd(*this), p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

NativeFile OpenRegularFile(const std::string& path, std::uint64_t* size) {
  NativeFile file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat st;
  if (!file.IsOpen() || ::fstat(Fd(file), &st) != 0 || !S_ISREG(st.st_mode)) return NativeFile();
  if (size) *size = static_cast<std::uint64_t>(st.st_size);
  return file;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string LastFileError() { return std::strerror(errno); }

bool DeleteFile(const std::string& path) { return !path.empty() && ::unlink(path.c_str()) == 0; }

NativeFile CreateNewFile(const std::string& path, NewName& outcome) {
  NativeFile file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (!file.IsOpen()) Fail(outcome, errno);
  return file;
}

void MoveToNewName(const std::string& temporary, const std::string& path, NewName& outcome) {
  // link() fails when the name exists, so an existing file is never replaced.
  if (::link(temporary.c_str(), path.c_str()) != 0) return Fail(outcome, errno);
  ::unlink(temporary.c_str());
}

}  // namespace zuvprint::platform
