// The host's view of a Windows error code.
#pragma once

#include <windows.h>

namespace zuvtill::runtime {

// The DOS error code the host sees for a Windows error code: the code
// itself (2 file not found, 3 path not found, 5 access denied, 32 sharing
// violation, ...), but 29 (write fault) for a disk that is full, as on
// every system the runtime runs on.
inline int HostErrorCode(DWORD code) {
  switch (code) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return 29;
    default:
      return static_cast<int>(code);
  }
}

// HostErrorCode of GetLastError(), never 0: a call that failed without
// saying why is a general failure (31).
inline int LastHostError() {
  const DWORD code = ::GetLastError();
  return code == ERROR_SUCCESS ? 31 : HostErrorCode(code);
}

}  // namespace zuvtill::runtime
