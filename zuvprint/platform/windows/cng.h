// CNG objects owned by RAII holders, and a failed call described for the
// user: the call's name and its NTSTATUS.
#pragma once

#include <windows.h>
#include <bcrypt.h>

#include <string>

namespace zuvprint::platform {

template <typename Handle, NTSTATUS(WINAPI* Close)(Handle)>
class CngHandle {
 public:
  CngHandle() = default;
  ~CngHandle() {
    if (handle_) Close(handle_);
  }
  CngHandle(const CngHandle&) = delete;
  CngHandle& operator=(const CngHandle&) = delete;

  Handle Get() const { return handle_; }
  // Where a BCrypt call leaves the new handle; a failed call leaves none.
  Handle* Out() { return &handle_; }

 private:
  Handle handle_ = nullptr;
};

inline NTSTATUS WINAPI CloseAlgorithm(BCRYPT_ALG_HANDLE h) { return ::BCryptCloseAlgorithmProvider(h, 0); }
using CngAlgorithm = CngHandle<BCRYPT_ALG_HANDLE, CloseAlgorithm>;
using CngKey = CngHandle<BCRYPT_KEY_HANDLE, ::BCryptDestroyKey>;
using CngHash = CngHandle<BCRYPT_HASH_HANDLE, ::BCryptDestroyHash>;

// "BCryptImportKeyPair: 0xC00000BB (STATUS_NOT_SUPPORTED)"
std::string CngFailure(const char* call, NTSTATUS status);

// The platform lacks the algorithm or the operation (as opposed to
// refusing the data it was given).
inline bool CngLacks(NTSTATUS status) {
  return status == static_cast<NTSTATUS>(0xC00000BB) || status == static_cast<NTSTATUS>(0xC0000002);
}

}  // namespace zuvprint::platform
