// libcrypto objects owned by unique pointers, freed by their own free call.
#pragma once

#include <openssl/bio.h>
#include <openssl/ec.h>
#include <openssl/evp.h>

#include <memory>

namespace zuvprint {

template <auto Free>
struct OpensslFree {
  template <typename T>
  void operator()(T* p) const { Free(p); }
};
using BioPtr = std::unique_ptr<BIO, OpensslFree<BIO_free>>;
using PkeyPtr = std::unique_ptr<EVP_PKEY, OpensslFree<EVP_PKEY_free>>;
using MdPtr = std::unique_ptr<EVP_MD, OpensslFree<EVP_MD_free>>;
using MdCtxPtr = std::unique_ptr<EVP_MD_CTX, OpensslFree<EVP_MD_CTX_free>>;
using EcdsaSigPtr = std::unique_ptr<ECDSA_SIG, OpensslFree<ECDSA_SIG_free>>;

}  // namespace zuvprint
