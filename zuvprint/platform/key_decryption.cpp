#include "platform/key_decryption.h"

#include <algorithm>

#include "platform/der_reader.h"

namespace zuvprint::platform {
namespace {

using der::Bytes;
using der::Reader;

constexpr std::size_t kAesBlock = 16;
constexpr std::string_view kPbes2 = "1.2.840.113549.1.5.13";
constexpr std::string_view kPbkdf2 = "1.2.840.113549.1.5.12";
constexpr std::string_view kScrypt = "1.3.6.1.4.1.11591.4.11";
constexpr std::string_view kHmacSha1 = "1.2.840.113549.2.7";
constexpr std::string_view kHmacSha256 = "1.2.840.113549.2.9";

struct Cipher {
  std::string_view oid;
  std::string_view dekName;  // in DEK-Info
  std::size_t keyBytes;
};
constexpr Cipher kCiphers[] = {
    {"2.16.840.1.101.3.4.1.2", "AES-128-CBC", 16},
    {"2.16.840.1.101.3.4.1.22", "AES-192-CBC", 24},
    {"2.16.840.1.101.3.4.1.42", "AES-256-CBC", 32},
};

ByteView AsBytes(std::string_view s) { return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}; }

// Decrypts and removes the PKCS#7 padding. A wrong password almost always
// ends here, as padding that does not hold.
std::optional<std::vector<std::uint8_t>> DecryptCbc(KeyPrimitives& primitives, ByteView key, ByteView iv,
                                                    ByteView data, std::string& failure) {
  if (data.empty() || data.size() % kAesBlock != 0) {
    failure = "zaszyfrowany klucz nie składa się z całych bloków AES";
    return std::nullopt;
  }
  std::vector<std::uint8_t> plain;
  if (!primitives.AesCbcDecrypt(key, iv, data, plain, failure)) return std::nullopt;
  const std::size_t pad = plain.empty() ? 0 : plain.back();
  if (plain.size() != data.size() || pad == 0 || pad > kAesBlock ||
      !std::all_of(plain.end() - static_cast<std::ptrdiff_t>(pad), plain.end(), [&](std::uint8_t b) { return b == pad; })) {
    failure = "złe hasło: odszyfrowany klucz ma niepoprawne dopełnienie";
    return std::nullopt;
  }
  plain.resize(plain.size() - pad);
  return plain;
}

std::optional<std::vector<std::uint8_t>> Fail(std::string& failure, std::string reason) {
  failure = std::move(reason);
  return std::nullopt;
}

std::optional<int> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> DecryptPkcs8(ByteView der, std::string_view password,
                                                      KeyPrimitives& primitives, std::string& failure) {
  const std::string unreadable = "nieczytelna struktura zaszyfrowanego klucza PKCS#8";
  Reader outer(der);
  auto info = outer.Sequence();
  std::optional<Reader> algorithm;
  std::optional<std::string> scheme;
  if (!info || !outer.AtEnd() || !(algorithm = info->Sequence()) || !(scheme = algorithm->ObjectIdentifier()))
    return Fail(failure, unreadable);
  auto encrypted = info->OctetString();
  if (!encrypted || !info->AtEnd()) return Fail(failure, unreadable);
  if (*scheme != kPbes2) return Fail(failure, "nieobsługiwane szyfrowanie klucza (" + *scheme + "), obsługiwane jest PBES2");

  // PBES2-params: the key derivation, then the cipher.
  auto params = algorithm->Sequence();
  std::optional<Reader> kdf, kdfParams, cipherAlg;
  std::optional<std::string> kdfOid, cipherOid;
  if (!params || !(kdf = params->Sequence()) || !(kdfOid = kdf->ObjectIdentifier()) ||
      !(cipherAlg = params->Sequence()) || !(cipherOid = cipherAlg->ObjectIdentifier()))
    return Fail(failure, unreadable);
  if (*kdfOid == kScrypt) return Fail(failure, "nieobsługiwane wyprowadzenie klucza z hasła: scrypt");
  if (*kdfOid != kPbkdf2) return Fail(failure, "nieobsługiwane wyprowadzenie klucza z hasła (" + *kdfOid + ")");

  // PBKDF2-params: salt, iterations, the key length maybe, the PRF maybe
  // (HMAC-SHA-1 when absent).
  kdfParams = kdf->Sequence();
  std::optional<Bytes> salt;
  std::optional<std::uint64_t> iterations, keyLength;
  if (!kdfParams || !(salt = kdfParams->OctetString()) || !(iterations = kdfParams->SmallInteger()))
    return Fail(failure, unreadable);
  if (kdfParams->PeekTag() == der::kInteger && !(keyLength = kdfParams->SmallInteger())) return Fail(failure, unreadable);
  KeyPrimitives::Prf prf = KeyPrimitives::Prf::HmacSha1;
  if (!kdfParams->AtEnd()) {
    auto prfAlg = kdfParams->Sequence();
    auto prfOid = prfAlg ? prfAlg->ObjectIdentifier() : std::nullopt;
    if (!prfOid) return Fail(failure, unreadable);
    if (*prfOid == kHmacSha256)
      prf = KeyPrimitives::Prf::HmacSha256;
    else if (*prfOid != kHmacSha1)
      return Fail(failure, "nieobsługiwana funkcja PBKDF2 (" + *prfOid + "), obsługiwane są HMAC-SHA-256 i HMAC-SHA-1");
  }
  if (*iterations == 0 || *iterations > kMaxPbkdf2Iterations)
    return Fail(failure, "liczba iteracji PBKDF2 poza zakresem: " + std::to_string(*iterations));

  const Cipher* cipher = nullptr;
  for (const auto& c : kCiphers)
    if (c.oid == *cipherOid) cipher = &c;
  if (!cipher) return Fail(failure, "nieobsługiwany szyfr klucza (" + *cipherOid + "), obsługiwany jest AES-CBC");
  auto iv = cipherAlg->OctetString();
  if (!iv || iv->size() != kAesBlock) return Fail(failure, unreadable);
  if (keyLength && *keyLength != cipher->keyBytes) return Fail(failure, "długość klucza PBKDF2 nie pasuje do szyfru");

  std::vector<std::uint8_t> key(cipher->keyBytes);
  if (!primitives.Pbkdf2(prf, AsBytes(password), *salt, static_cast<std::uint32_t>(*iterations), key, failure))
    return std::nullopt;
  return DecryptCbc(primitives, key, *iv, *encrypted, failure);
}

std::optional<std::vector<std::uint8_t>> DecryptTraditional(ByteView encrypted, std::string_view dekInfo,
                                                            std::string_view password, KeyPrimitives& primitives,
                                                            std::string& failure) {
  const auto comma = dekInfo.find(',');
  const std::string_view name = dekInfo.substr(0, comma);
  const Cipher* cipher = nullptr;
  for (const auto& c : kCiphers)
    if (c.dekName == name) cipher = &c;
  if (!cipher) return Fail(failure, "nieobsługiwany szyfr klucza: " + std::string(name) + ", obsługiwany jest AES-CBC");
  const std::string_view hex = comma == std::string_view::npos ? std::string_view() : dekInfo.substr(comma + 1);
  std::vector<std::uint8_t> iv;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    auto hi = HexDigit(hex[i]), lo = HexDigit(hex[i + 1]);
    if (!hi || !lo) break;
    iv.push_back(static_cast<std::uint8_t>(*hi << 4 | *lo));
  }
  if (hex.size() != 2 * kAesBlock || iv.size() != kAesBlock) return Fail(failure, "niepoprawny wektor IV w nagłówku DEK-Info");

  // EVP_BytesToKey with MD5 and one round: D1 = MD5(password ‖ salt),
  // Di = MD5(Di-1 ‖ password ‖ salt), the key their concatenation; the salt
  // is the first 8 bytes of the IV.
  std::vector<std::uint8_t> key;
  std::array<std::uint8_t, 16> digest{};
  while (key.size() < cipher->keyBytes) {
    std::vector<std::uint8_t> input(key.empty() ? key.end() : key.end() - 16, key.end());
    input.insert(input.end(), password.begin(), password.end());
    input.insert(input.end(), iv.begin(), iv.begin() + 8);
    if (!primitives.Md5(input, digest, failure)) return std::nullopt;
    key.insert(key.end(), digest.begin(), digest.end());
  }
  key.resize(cipher->keyBytes);
  return DecryptCbc(primitives, key, iv, encrypted, failure);
}

}  // namespace zuvprint::platform
