#include "ksef/signature.h"

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/ec.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <cstring>
#include <memory>
#include <vector>

#include "ksef/crypto.h"
#include "ksef/openssl_ptr.h"
#include "platform/files.h"

namespace zuvprint {
namespace {

constexpr int kSaltPss = 32;
constexpr std::string_view kPemBegin = "-----BEGIN ";

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

// PEM text as a settings file holds it, on one line: the armour lines, the
// "Name: value" headers of the traditional encrypted form and the base64
// body, all separated by blanks. Rebuilt into the line structure that a
// PEM reader expects. Text that already has line breaks is left alone.
std::string PemZJednejLinii(std::string_view text) {
  if (text.find('\n') != std::string_view::npos) return std::string(text);
  auto beginEnd = text.find("-----", kPemBegin.size());
  auto end = text.find("-----END ", beginEnd == std::string_view::npos ? 0 : beginEnd + 5);
  if (beginEnd == std::string_view::npos || end == std::string_view::npos) return std::string(text);
  std::string out(text.substr(0, beginEnd + 5));
  out += '\n';
  std::string body;
  std::string_view middle = text.substr(beginEnd + 5, end - beginEnd - 5);
  bool headers = false;
  while (!middle.empty()) {
    auto start = middle.find_first_not_of(" \t\r");
    if (start == std::string_view::npos) break;
    middle.remove_prefix(start);
    auto stop = std::min(middle.find_first_of(" \t\r"), middle.size());
    std::string_view token = middle.substr(0, stop);
    middle.remove_prefix(stop);
    if (token.ends_with(':')) {  // a header: its value is the next token
      auto vstart = middle.find_first_not_of(" \t\r");
      std::string_view value;
      if (vstart != std::string_view::npos) {
        middle.remove_prefix(vstart);
        auto vstop = std::min(middle.find_first_of(" \t\r"), middle.size());
        value = middle.substr(0, vstop);
        middle.remove_prefix(vstop);
      }
      out.append(token).append(" ").append(value).append("\n");
      headers = true;
    } else {
      body.append(token);
    }
  }
  if (headers) out += '\n';
  for (std::size_t i = 0; i < body.size(); i += 64) out.append(body, i, 64).append("\n");
  out.append(text.substr(end));
  out += '\n';
  return out;
}

int PodajHaslo(char* buf, int size, int /*rwflag*/, void* userdata) {
  const auto* haslo = static_cast<const std::string*>(userdata);
  if (size < 0 || haslo->size() > static_cast<std::size_t>(size)) return -1;
  std::memcpy(buf, haslo->data(), haslo->size());
  return static_cast<int>(haslo->size());
}

struct Klucz {
  PkeyPtr pkey;
  std::string blad;
};

Klucz WczytajKlucz(const std::string& klucz, const std::string& haslo) {
  std::string pem;
  if (klucz.find(kPemBegin) != std::string::npos) {
    pem = PemZJednejLinii(klucz);
  } else if (klucz.empty() || platform::ReadWholeFile(klucz, pem) != platform::ReadResult::Ok) {
    return {nullptr, "Nie można odczytać pliku klucza prywatnego: " + klucz};
  }
  BioPtr bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
  if (!bio) return {nullptr, OpensslReason()};
  PkeyPtr pkey(PEM_read_bio_PrivateKey(bio.get(), nullptr, PodajHaslo, const_cast<std::string*>(&haslo)));
  if (!pkey)
    return {nullptr, "Nie można wczytać klucza prywatnego (złe hasło lub uszkodzony klucz): " + OpensslReason()};
  return {std::move(pkey), {}};
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

}  // namespace

WynikPodpisu PodpiszECDSA(std::string_view text, const std::string& klucz, const std::string& haslo) {
  ERR_clear_error();
  Klucz k = WczytajKlucz(klucz, haslo);
  if (!k.pkey) return {false, k.blad};

  const bool ec = EVP_PKEY_is_a(k.pkey.get(), "EC");
  const bool rsa = EVP_PKEY_is_a(k.pkey.get(), "RSA") || EVP_PKEY_is_a(k.pkey.get(), "RSA-PSS");
  if (!ec && !rsa) {
    const char* name = EVP_PKEY_get0_type_name(k.pkey.get());
    return {false, std::string("Nieobsługiwany rodzaj klucza prywatnego: ") + (name ? name : "?")};
  }

  MdCtxPtr ctx(EVP_MD_CTX_new());
  EVP_PKEY_CTX* pctx = nullptr;  // owned by ctx
  std::size_t length = 0;
  std::vector<unsigned char> signature;
  bool ok = ctx && EVP_DigestSignInit(ctx.get(), &pctx, EVP_sha256(), nullptr, k.pkey.get()) == 1;
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
    ok = DerNaRS(signature, (EVP_PKEY_get_bits(k.pkey.get()) + 7) / 8, rs);
    signature = std::move(rs);
  }
  if (!ok) return {false, "Podpisanie linka certyfikatu nie powiodło się: " + OpensslReason()};
  return {true, EncodeBase64URL(std::span<const std::uint8_t>(signature.data(), signature.size()))};
}

}  // namespace zuvprint
