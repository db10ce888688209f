// A HANDLE owned: closed when its owner ends, moved but never copied.
#pragma once

#include <windows.h>

#include <utility>

namespace zuvtill::runtime {

class ScopedHandle {
 public:
  ScopedHandle() = default;
  // Takes the handle over; the null handle that some calls answer on
  // failure is no handle, like INVALID_HANDLE_VALUE.
  explicit ScopedHandle(HANDLE handle) : handle_(handle == nullptr ? INVALID_HANDLE_VALUE : handle) {}
  ~ScopedHandle() { Close(); }
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.Release();
    }
    return *this;
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
  // True when there was nothing to close or CloseHandle succeeded.
  bool Close() {
    HANDLE handle = Release();
    return handle == INVALID_HANDLE_VALUE || ::CloseHandle(handle);
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace zuvtill::runtime
