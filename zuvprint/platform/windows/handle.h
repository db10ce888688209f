// A NativeFile holds a HANDLE on Windows.
#pragma once

#include <windows.h>
// files.h names a function DeleteFile, which windows.h makes a macro.
#undef DeleteFile

#include <cstdint>

#include "platform/files.h"

namespace zuvprint::platform {

inline HANDLE Handle(const NativeFile& file) { return reinterpret_cast<HANDLE>(file.Get()); }

// Takes a handle over; the null handle that some calls answer on failure is
// no handle, like INVALID_HANDLE_VALUE.
inline NativeFile Own(HANDLE handle) {
  return handle == nullptr ? NativeFile() : NativeFile(reinterpret_cast<std::intptr_t>(handle));
}

}  // namespace zuvprint::platform
