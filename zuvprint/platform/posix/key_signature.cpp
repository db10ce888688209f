// Keys and signatures over libcrypto: the PEM reader with its password
// callback, the EVP signing interface, and ECDSA's DER form turned into r‖s.
#include "platform/key_signature.h"

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/ec.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <cstring>
#include <memory>

namespace zuvprint::platform {
namespace {

template <auto Free>
struct OpensslFree {
  template <typename T>
  void operator()(T* p) const { Free(p); }
};
using BioPtr = std::unique_ptr<BIO, OpensslFree<BIO_free>>;
using PkeyPtr = std::unique_ptr<EVP_PKEY, OpensslFree<EVP_PKEY_free>>;
using MdCtxPtr = std::unique_ptr<EVP_MD_CTX, OpensslFree<EVP_MD_CTX_free>>;
using EcdsaSigPtr = std::unique_ptr<ECDSA_SIG, OpensslFree<ECDSA_SIG_free>>;

constexpr int kSaltPss = 32;

// The reason libcrypto gives for its last failure, and an empty queue after.
std::string OpensslReason() {
  std::string reason;
  unsigned long code = 0;
  while ((code = ERR_get_error()) != 0) {
    const char* text = ERR_reason_error_string(code);
    if (!text) continue;
    if (!reason.empty()) reason += "; ";
    reason += text;
  }
  return reason.empty() ? "nieznany błąd biblioteki kryptograficznej" : reason;
}

int PodajHaslo(char* buf, int size, int /*rwflag*/, void* userdata) {
  const auto* haslo = static_cast<const std::string*>(userdata);
  if (size < 0 || haslo->size() > static_cast<std::size_t>(size)) return -1;
  std::memcpy(buf, haslo->data(), haslo->size());
  return static_cast<int>(haslo->size());
}

// The DER signature of libcrypto as r followed by s, each of `size` bytes.
bool DerNaRS(const std::vector<unsigned char>& der, int size, std::vector<unsigned char>& out) {
  const unsigned char* p = der.data();
  EcdsaSigPtr sig(d2i_ECDSA_SIG(nullptr, &p, static_cast<long>(der.size())));
  if (!sig) return false;
  const BIGNUM* r = nullptr;
  const BIGNUM* s = nullptr;
  ECDSA_SIG_get0(sig.get(), &r, &s);
  out.assign(static_cast<std::size_t>(size) * 2, 0);
  return BN_bn2binpad(r, out.data(), size) == size && BN_bn2binpad(s, out.data() + size, size) == size;
}

KeySignature Failed(KeySignature::Outcome outcome, std::string detail) {
  KeySignature result;
  result.outcome = outcome;
  result.detail = std::move(detail);
  return result;
}

}  // namespace

KeySignature SignWithPemKey(const std::string& pem, const std::string& password, std::string_view text) {
  using Outcome = KeySignature::Outcome;
  ERR_clear_error();
  BioPtr bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
  PkeyPtr pkey(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, PodajHaslo, const_cast<std::string*>(&password))
                   : nullptr);
  if (!pkey) return Failed(Outcome::KeyUnreadable, OpensslReason());

  const bool ec = EVP_PKEY_is_a(pkey.get(), "EC");
  const bool rsa = EVP_PKEY_is_a(pkey.get(), "RSA") || EVP_PKEY_is_a(pkey.get(), "RSA-PSS");
  if (!ec && !rsa) {
    const char* name = EVP_PKEY_get0_type_name(pkey.get());
    return Failed(Outcome::KeyKindUnsupported, name ? name : "?");
  }

  MdCtxPtr ctx(EVP_MD_CTX_new());
  EVP_PKEY_CTX* pctx = nullptr;  // owned by ctx
  std::size_t length = 0;
  std::vector<unsigned char> signature;
  bool ok = ctx && EVP_DigestSignInit(ctx.get(), &pctx, EVP_sha256(), nullptr, pkey.get()) == 1;
  if (ok && rsa) {
    ok = EVP_PKEY_CTX_set_rsa_padding(pctx, RSA_PKCS1_PSS_PADDING) == 1 &&
         EVP_PKEY_CTX_set_rsa_mgf1_md(pctx, EVP_sha256()) == 1 &&
         EVP_PKEY_CTX_set_rsa_pss_saltlen(pctx, kSaltPss) == 1;
  }
  const auto* data = reinterpret_cast<const unsigned char*>(text.data());
  ok = ok && EVP_DigestSign(ctx.get(), nullptr, &length, data, text.size()) == 1;
  if (ok) {
    signature.resize(length);
    ok = EVP_DigestSign(ctx.get(), signature.data(), &length, data, text.size()) == 1;
    signature.resize(length);
  }
  if (ok && ec) {
    std::vector<unsigned char> rs;
    ok = DerNaRS(signature, (EVP_PKEY_get_bits(pkey.get()) + 7) / 8, rs);
    signature = std::move(rs);
  }
  if (!ok) return Failed(Outcome::SigningFailed, OpensslReason());
  KeySignature result;
  result.outcome = Outcome::Signed;
  result.bytes.assign(signature.begin(), signature.end());
  return result;
}

}  // namespace zuvprint::platform
