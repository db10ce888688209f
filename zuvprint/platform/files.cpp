#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/surface.h"

namespace zuvprint::platform {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.Release();
  }
  return *this;
}

FileDescriptor::~FileDescriptor() { Close(); }

int FileDescriptor::Release() {
  int fd = fd_;
  fd_ = -1;
  return fd;
}

bool FileDescriptor::Close() {
  if (fd_ < 0) return true;
  int rc = ::close(Release());
  return rc == 0;
}

bool WriteAll(int fd, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = ::write(fd, p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

FileDescriptor OpenRegularFile(const std::string& path, std::uint64_t* size) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat st;
  if (!fd.IsOpen() || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return FileDescriptor();
  if (size) *size = static_cast<std::uint64_t>(st.st_size);
  return fd;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DeleteFile(const std::string& path) { return !path.empty() && ::unlink(path.c_str()) == 0; }

CopyResult CopyToNewFile(const std::string& source, const std::string& target) {
  FileDescriptor in = OpenRegularFile(source);
  if (!in.IsOpen()) return CopyResult::Failed;
  FileDescriptor out(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (!out.IsOpen()) return errno == EEXIST ? CopyResult::TargetExists : CopyResult::Failed;
  char chunk[65536];
  bool ok = true;
  for (;;) {
    ssize_t n = ::read(in.Get(), chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    if (!WriteAll(out.Get(), chunk, static_cast<std::size_t>(n))) {
      ok = false;
      break;
    }
  }
  if (!out.Close()) ok = false;
  if (!ok) ::unlink(target.c_str());
  return ok ? CopyResult::Copied : CopyResult::Failed;
}

ReadResult ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  std::uint64_t size = 0;
  FileDescriptor in = OpenRegularFile(path, &size);
  if (!in.IsOpen()) return ReadResult::CannotOpen;
  bytes.reserve(static_cast<std::size_t>(size));
  char chunk[65536];
  for (;;) {
    ssize_t n = ::read(in.Get(), chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      bytes.clear();
      bytes.shrink_to_fit();
      return ReadResult::ReadFailed;
    }
    if (n == 0) return ReadResult::Ok;
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
}

std::string BaseName(const std::string& path) {
  auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string StemOf(const std::string& name) {
  auto dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string OutputDirectory() {
  const char* dir = std::getenv("ZUVPRINT_OUTPUT_DIR");
  return dir && *dir ? dir : ".";
}

namespace {

constexpr int kMaxOutputVariants = 10000;

std::string Variant(const std::string& dir, const std::string& stem, const std::string& ext, int n) {
  std::string path = dir;
  if (!path.empty() && path.back() != '/') path += '/';
  path += stem;
  if (n > 1) path += "-" + std::to_string(n);
  return path + ext;
}

[[noreturn]] void CannotCreate(const std::string& dir, int error) {
  throw PrintError("Nie można utworzyć pliku wydruku w katalogu " + dir + ": " + std::strerror(error));
}

}  // namespace

std::string PublishWithoutOverwrite(const std::string& temporary, const std::string& dir,
                                    const std::string& stem, const std::string& ext) {
  for (int n = 1; n <= kMaxOutputVariants; ++n) {
    std::string path = Variant(dir, stem, ext, n);
    // link() fails when the name exists, so an existing file is never replaced.
    if (::link(temporary.c_str(), path.c_str()) == 0) {
      ::unlink(temporary.c_str());
      return path;
    }
    if (errno != EEXIST) CannotCreate(dir, errno);
  }
  CannotCreate(dir, EEXIST);
}

int CreateWithoutOverwrite(const std::string& dir, const std::string& stem, const std::string& ext,
                           std::string& path) {
  for (int n = 1; n <= kMaxOutputVariants; ++n) {
    path = Variant(dir, stem, ext, n);
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) return fd;
    if (errno != EEXIST) CannotCreate(dir, errno);
  }
  CannotCreate(dir, EEXIST);
}

}  // namespace zuvprint::platform
