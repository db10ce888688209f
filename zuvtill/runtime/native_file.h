// The operating system's files under the host's byte-file functions and
// tables: one open file, owned, and the few questions asked of a path.
// Every path here is one that HostPath made. Operations that can fail
// answer the DOS error code the host sees (0 when they succeeded): on
// Windows the system's own error code, on POSIX the errno value's DOS
// code. A file that cannot be written for want of room is 29 (write fault)
// on both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

namespace zuvtill::runtime {

class NativeFile {
 public:
  enum class Access { kRead, kWrite, kReadWrite };

  NativeFile() = default;
  ~NativeFile() { Close(); }
  NativeFile(NativeFile&& other) noexcept : handle_(std::exchange(other.handle_, kNone)) {}
  NativeFile& operator=(NativeFile&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, kNone);
    }
    return *this;
  }
  NativeFile(const NativeFile&) = delete;
  NativeFile& operator=(const NativeFile&) = delete;

  // An existing file (create false), or a new or emptied one opened for
  // reading and writing (create true). Never waits, and takes only regular
  // files: a directory, FIFO or device is refused with 5 (access denied).
  // Programs that the runtime starts do not inherit the file.
  int Open(const std::string& path, Access access, bool create);
  // origin 0 the start, 1 the current position, 2 the end; position
  // receives the new position.
  int Seek(std::int64_t offset, int origin, std::int64_t& position);
  // Reads until size bytes are in or the file ends; got says how many came,
  // also when the read failed on the way.
  int Read(char* buffer, std::size_t size, std::size_t& got);
  // Writes all size bytes; put says how many went, also on failure.
  int Write(const char* bytes, std::size_t size, std::size_t& put);
  int Close();
  bool IsOpen() const { return handle_ != kNone; }

 private:
  static constexpr std::intptr_t kNone = -1;
  std::intptr_t handle_ = kNone;  // a file descriptor or a HANDLE
};

// Deletes the file; a directory is refused with 5.
int EraseFile(const std::string& path);
// Something that is no directory lies at the path.
bool FileExists(const std::string& path);
// Anything lies at the path, a symbolic link that leads nowhere included.
bool PathOccupied(const std::string& path);
// The C library's stream over the file (fopen's modes), or null; programs
// that the runtime starts do not inherit it.
std::FILE* OpenStreamFile(const std::string& path, const char* mode);

}  // namespace zuvtill::runtime
