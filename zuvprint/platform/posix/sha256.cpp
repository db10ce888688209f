// SHA-256 over libcrypto's EVP digest interface; the implementation is
// fetched anew for every digest.
#include "platform/sha256.h"

#include <openssl/evp.h>

namespace zuvprint::platform {

struct Sha256::State {
  EVP_MD* md = nullptr;
  EVP_MD_CTX* ctx = nullptr;
  ~State() {
    EVP_MD_CTX_free(ctx);
    EVP_MD_free(md);
  }
};

Sha256::Sha256() : state_(std::make_unique<State>()) {
  state_->md = EVP_MD_fetch(nullptr, "SHA2-256", nullptr);
  if (!state_->md) {
    startFailure_ = Failure::Unavailable;
    return;
  }
  state_->ctx = EVP_MD_CTX_new();
  if (!state_->ctx || EVP_DigestInit_ex(state_->ctx, state_->md, nullptr) != 1) startFailure_ = Failure::Init;
}

Sha256::~Sha256() = default;

bool Sha256::Update(const void* data, std::size_t size) {
  return startFailure_ == Failure::None && EVP_DigestUpdate(state_->ctx, data, size) == 1;
}

bool Sha256::Finish(Sha256Bytes& digest) {
  unsigned int length = 0;
  return startFailure_ == Failure::None && EVP_DigestFinal_ex(state_->ctx, digest.data(), &length) == 1 &&
         length == digest.size();
}

}  // namespace zuvprint::platform
