// The kept directory on Windows: a handle of the directory itself
// (FILE_FLAG_BACKUP_SEMANTICS), the same directory by volume serial number
// and file index, and back into it by the path it has now.
#include "runtime/current_directory.h"

#include <windows.h>

#include <string>

#include "runtime/dos_path.h"
#include "runtime/windows/handle.h"
#include "runtime/windows/wide_text.h"
#include "runtime/windows/windows_error.h"

namespace zuvtill::runtime {
namespace {

HANDLE Handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// The directory of the path, held without keeping others from reading,
// writing, renaming or deleting it.
ScopedHandle OpenDirectory(const wchar_t* path) {
  return ScopedHandle(::CreateFileW(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

bool SameFile(HANDLE a, HANDLE b) {
  BY_HANDLE_FILE_INFORMATION first, second;
  return ::GetFileInformationByHandle(a, &first) && ::GetFileInformationByHandle(b, &second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

// The directory's path now, without the "\\?\" that GetFinalPathNameByHandleW
// puts before it ("\\?\UNC\server" becomes "\\server").
std::wstring PathOf(HANDLE directory) {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = ::GetFinalPathNameByHandleW(directory, path.data(), static_cast<DWORD>(path.size()), 0);
  if (length >= path.size()) {
    path.resize(length);
    length = ::GetFinalPathNameByHandleW(directory, path.data(), static_cast<DWORD>(path.size()), 0);
  }
  if (length == 0 || length >= path.size()) return {};
  path.resize(length);
  if (path.starts_with(L"\\\\?\\UNC\\")) return L"\\" + path.substr(7);
  if (path.starts_with(L"\\\\?\\")) return path.substr(4);
  return path;
}

}  // namespace

KeptDirectory::KeptDirectory() {
  ScopedHandle directory = OpenDirectory(L".");
  if (directory.IsValid()) handle_ = reinterpret_cast<std::intptr_t>(directory.Release());
}

KeptDirectory::~KeptDirectory() {
  if (handle_ != kNone) ::CloseHandle(Handle(handle_));
}

bool KeptDirectory::IsCurrent() const {
  if (handle_ == kNone) return false;
  ScopedHandle here = OpenDirectory(L".");
  return here.IsValid() && SameFile(here.Get(), Handle(handle_));
}

bool KeptDirectory::MakeCurrent() const {
  if (handle_ == kNone) return false;
  const std::wstring path = PathOf(Handle(handle_));
  return !path.empty() && ::SetCurrentDirectoryW(path.c_str()) && IsCurrent();
}

}  // namespace zuvtill::runtime

namespace zuvtill::runtime {

std::string CurrentDirectory() {
  std::wstring directory(MAX_PATH, L'\0');
  DWORD length = ::GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), directory.data());
  if (length >= directory.size()) {
    directory.resize(length);
    length = ::GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), directory.data());
  }
  if (length == 0 || length >= directory.size()) return ".";
  directory.resize(length);
  // "C:\" keeps its separator: without it the name would be the drive's
  // current directory.
  while (directory.size() > 3 && (directory.back() == L'\\' || directory.back() == L'/')) directory.pop_back();
  return HostFromWide(directory);
}

int ChangeDirectory(std::string_view dosPath) {
  if (dosPath.empty()) return 3;
  return ::SetCurrentDirectoryW(WideFromHost(HostPath(dosPath)).c_str()) ? 0 : LastHostError();
}

}  // namespace zuvtill::runtime
