// Byte files on Windows: CreateFileW handles, GetLastError's codes.
#include "runtime/native_file.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "runtime/windows/handle.h"
#include "runtime/windows/wide_text.h"
#include "runtime/windows/windows_error.h"

namespace zuvtill::runtime {
namespace {

constexpr int kAccessDenied = 5;
constexpr int kWriteFault = 29;
// A DWORD's worth at most per ReadFile or WriteFile.
constexpr std::size_t kChunk = 1u << 30;

HANDLE Handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

DWORD Attributes(const std::string& path) { return ::GetFileAttributesW(WideFromHost(path).c_str()); }

bool IsDirectory(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

// Others may read and write the file meanwhile, as DOS's compatibility
// mode lets them. A directory is refused before the open; the open itself
// never waits, and what it opened must be a disk file (not a console,
// pipe or serial port named like one).
int NativeFile::Open(const std::string& path, Access access, bool create) {
  Close();
  if (IsDirectory(Attributes(path))) return kAccessDenied;
  const DWORD rights = create                     ? GENERIC_READ | GENERIC_WRITE
                       : access == Access::kRead  ? GENERIC_READ
                       : access == Access::kWrite ? GENERIC_WRITE
                                                  : GENERIC_READ | GENERIC_WRITE;
  // No security attributes: the handle is not inherited.
  ScopedHandle file(::CreateFileW(WideFromHost(path).c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  create ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) return LastHostError();
  if (::GetFileType(file.Get()) != FILE_TYPE_DISK) return kAccessDenied;
  handle_ = reinterpret_cast<std::intptr_t>(file.Release());
  return 0;
}

int NativeFile::Seek(std::int64_t offset, int origin, std::int64_t& position) {
  const DWORD method = origin == 1 ? FILE_CURRENT : origin == 2 ? FILE_END : FILE_BEGIN;
  LARGE_INTEGER distance, at;
  distance.QuadPart = offset;
  if (!::SetFilePointerEx(Handle(handle_), distance, &at, method)) return LastHostError();
  position = at.QuadPart;
  return 0;
}

int NativeFile::Read(char* buffer, std::size_t size, std::size_t& got) {
  got = 0;
  while (got < size) {
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min(size - got, kChunk));
    if (!::ReadFile(Handle(handle_), buffer + got, want, &n, nullptr)) return LastHostError();
    if (n == 0) break;
    got += n;
  }
  return 0;
}

int NativeFile::Write(const char* bytes, std::size_t size, std::size_t& put) {
  put = 0;
  while (put < size) {
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min(size - put, kChunk));
    if (!::WriteFile(Handle(handle_), bytes + put, want, &n, nullptr)) return LastHostError();
    if (n == 0) return kWriteFault;
    put += n;
  }
  return 0;
}

int NativeFile::Close() {
  if (handle_ == kNone) return 0;
  return ::CloseHandle(Handle(std::exchange(handle_, kNone))) ? 0 : LastHostError();
}

int EraseFile(const std::string& path) {
  if (IsDirectory(Attributes(path))) return kAccessDenied;
  return ::DeleteFileW(WideFromHost(path).c_str()) ? 0 : LastHostError();
}

bool FileExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !IsDirectory(attributes);
}

bool PathOccupied(const std::string& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

// "N": not inherited by programs started with inherited handles.
std::FILE* OpenStreamFile(const std::string& path, const char* mode) {
  return ::_wfopen(WideFromHost(path).c_str(), WideFromHost(std::string(mode) + "N").c_str());
}

}  // namespace zuvtill::runtime
