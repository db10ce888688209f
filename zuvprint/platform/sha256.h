// SHA-256 through the platform's digest: libcrypto on Linux, CNG on Windows.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace zuvprint::platform {

using Sha256Bytes = std::array<std::uint8_t, 32>;

// One digest, begun when made. Not copyable; every platform object is
// released with it.
class Sha256 {
 public:
  // Which step could not be done: the platform has no SHA-256, or the
  // digest could not be begun, fed or finished.
  enum class Failure { None, Unavailable, Init, Update, Final };

  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  // Unavailable or Init when the digest could not be begun, else None.
  Failure StartFailure() const { return startFailure_; }
  bool Update(const void* data, std::size_t size);
  bool Finish(Sha256Bytes& digest);

 private:
  struct State;  // the backend's objects
  std::unique_ptr<State> state_;
  Failure startFailure_ = Failure::None;
};

}  // namespace zuvprint::platform
