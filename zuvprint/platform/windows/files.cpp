// Files on Windows: HANDLEs from CreateFileW, attributes and MoveFileExW.
#include "platform/files.h"

#include <windows.h>
// files.h names a function DeleteFile, which windows.h makes a macro.
#undef DeleteFile

#include <algorithm>

#include "platform/windows/handle.h"
#include "platform/windows/wide_text.h"

namespace zuvprint::platform {

namespace {

void Fail(NewName& outcome, DWORD error) {
  outcome.taken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
  outcome.error = WindowsErrorText(error);
}

// One ReadFile, at most a DWORD's worth; overlapped gives the offset.
std::int64_t ReadSome(HANDLE handle, void* data, std::size_t size, OVERLAPPED* at) {
  DWORD done = 0;
  const DWORD asked = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  if (::ReadFile(handle, data, asked, &done, at)) return done;
  return ::GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
}

}  // namespace

const char kPathSeparator = '\\';
const std::string_view kPathSeparators = "\\/";

bool NativeFile::Close() {
  if (!IsOpen()) return true;
  return ::CloseHandle(reinterpret_cast<HANDLE>(Release())) != 0;
}

std::int64_t NativeFile::Read(void* data, std::size_t size) { return ReadSome(Handle(*this), data, size, nullptr); }

std::int64_t NativeFile::ReadAt(std::uint64_t offset, void* data, std::size_t size) const {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return ReadSome(Handle(*this), data, size, &at);
}

bool NativeFile::Write(const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    DWORD done = 0;
    const DWORD asked = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!::WriteFile(Handle(*this), p, asked, &done, nullptr)) return false;
    p += done;
    size -= done;
  }
  return true;
}

NativeFile OpenRegularFile(const std::string& path, std::uint64_t* size) {
  if (path.empty()) return NativeFile();
  // Others may read the file meanwhile, as they may on POSIX.
  HANDLE handle = ::CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return NativeFile();
  NativeFile file = Own(handle);
  // Only a file on disk: a pipe, a console or a device is refused.
  BY_HANDLE_FILE_INFORMATION info;
  if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return NativeFile();
  if (size) *size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  return file;
}

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string LastFileError() { return WindowsErrorText(::GetLastError()); }

bool DeleteFile(const std::string& path) { return !path.empty() && ::DeleteFileW(Wide(path).c_str()) != 0; }

NativeFile CreateNewFile(const std::string& path, NewName& outcome) {
  // CREATE_NEW fails on an existing name, so nothing is ever replaced.
  HANDLE handle = ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    Fail(outcome, ::GetLastError());
    return NativeFile();
  }
  return Own(handle);
}

void MoveToNewName(const std::string& temporary, const std::string& path, NewName& outcome) {
  // Without MOVEFILE_REPLACE_EXISTING the move fails on an existing name.
  if (!::MoveFileExW(Wide(temporary).c_str(), Wide(path).c_str(), MOVEFILE_COPY_ALLOWED))
    Fail(outcome, ::GetLastError());
}

}  // namespace zuvprint::platform
