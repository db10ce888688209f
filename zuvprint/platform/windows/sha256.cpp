// SHA-256 through CNG: an algorithm provider and a hash object per digest.
#include "platform/sha256.h"

#include <algorithm>

#include "platform/windows/cng.h"

namespace zuvprint::platform {

// The hash is declared last, so it goes before its provider.
struct Sha256::State {
  CngAlgorithm algorithm;
  CngHash hash;
};

Sha256::Sha256() : state_(std::make_unique<State>()) {
  if (!BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(state_->algorithm.Out(), BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
    startFailure_ = Failure::Unavailable;
    return;
  }
  if (!BCRYPT_SUCCESS(::BCryptCreateHash(state_->algorithm.Get(), state_->hash.Out(), nullptr, 0, nullptr, 0, 0)))
    startFailure_ = Failure::Init;
}

Sha256::~Sha256() = default;

bool Sha256::Update(const void* data, std::size_t size) {
  if (startFailure_ != Failure::None) return false;
  auto* bytes = static_cast<UCHAR*>(const_cast<void*>(data));
  while (size > 0) {  // CNG takes at most a ULONG's worth at a time
    const ULONG piece = static_cast<ULONG>(std::min<std::size_t>(size, 1u << 30));
    if (!BCRYPT_SUCCESS(::BCryptHashData(state_->hash.Get(), bytes, piece, 0))) return false;
    bytes += piece;
    size -= piece;
  }
  return true;
}

bool Sha256::Finish(Sha256Bytes& digest) {
  return startFailure_ == Failure::None &&
         BCRYPT_SUCCESS(::BCryptFinishHash(state_->hash.Get(), digest.data(), static_cast<ULONG>(digest.size()), 0));
}

}  // namespace zuvprint::platform
