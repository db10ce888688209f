// Signing with a PEM key on Windows: the program's own reader turns the PEM
// text into the key's numbers (the primitives it needs from CNG), CNG
// imports them as a key blob and signs the SHA-256 digest of the data.
#include "platform/key_signature.h"

#include <algorithm>
#include <cstring>

#include "platform/private_key.h"
#include "platform/sha256.h"
#include "platform/windows/cng.h"
#include "platform/windows/cng_key_primitives.h"

namespace zuvprint::platform {
namespace {

using Outcome = KeySignature::Outcome;
constexpr ULONG kPssSalt = 32;

KeySignature Failed(Outcome outcome, std::string detail) {
  KeySignature result;
  result.outcome = outcome;
  result.detail = std::move(detail);
  return result;
}

// Key material is overwritten before its memory goes back.
struct Wiped : std::vector<UCHAR> {
  ~Wiped() { ::SecureZeroMemory(data(), size()); }
};

void Append(Wiped& blob, const std::vector<std::uint8_t>& bytes, std::size_t size) {
  blob.insert(blob.end(), size - bytes.size(), 0);  // left-padded to the blob's size
  blob.insert(blob.end(), bytes.begin(), bytes.end());
}

template <typename Header>
void AppendHeader(Wiped& blob, const Header& header) {
  const auto* bytes = reinterpret_cast<const UCHAR*>(&header);
  blob.insert(blob.end(), bytes, bytes + sizeof header);
}

struct CurveAlgorithm {
  const wchar_t* algorithm;
  ULONG magic;
  const char* name;
};

CurveAlgorithm AlgorithmOf(EcCurve curve) {
  switch (curve) {
    case EcCurve::P256: return {BCRYPT_ECDSA_P256_ALGORITHM, BCRYPT_ECDSA_PRIVATE_P256_MAGIC, "EC P-256"};
    case EcCurve::P384: return {BCRYPT_ECDSA_P384_ALGORITHM, BCRYPT_ECDSA_PRIVATE_P384_MAGIC, "EC P-384"};
    case EcCurve::P521: break;
  }
  return {BCRYPT_ECDSA_P521_ALGORITHM, BCRYPT_ECDSA_PRIVATE_P521_MAGIC, "EC P-521"};
}

// BCRYPT_ECCPRIVATE_BLOB: the header, then X, Y and d, each of the curve's size.
void EcBlob(const EcPrivateKey& key, ULONG magic, Wiped& blob) {
  const std::size_t size = CurveBytes(key.curve);
  blob.reserve(sizeof(BCRYPT_ECCKEY_BLOB) + 3 * size);  // no copies of the key left behind by growing
  AppendHeader(blob, BCRYPT_ECCKEY_BLOB{magic, static_cast<ULONG>(size)});
  Append(blob, key.x, size);
  Append(blob, key.y, size);
  Append(blob, key.d, size);
}

// BCRYPT_RSAFULLPRIVATE_BLOB: the header, then e, n, p, q, dP, dQ, qInv
// and d; the CRT numbers at their prime's size, d at the modulus's.
void RsaBlob(const RsaPrivateKey& key, Wiped& blob) {
  ULONG bits = static_cast<ULONG>(key.n.size() * 8);
  for (std::uint8_t top = key.n[0]; !(top & 0x80); top = static_cast<std::uint8_t>(top << 1)) --bits;
  blob.reserve(sizeof(BCRYPT_RSAKEY_BLOB) + key.e.size() + 2 * key.n.size() + 3 * key.p.size() + 2 * key.q.size());
  AppendHeader(blob, BCRYPT_RSAKEY_BLOB{BCRYPT_RSAFULLPRIVATE_MAGIC, bits, static_cast<ULONG>(key.e.size()),
                                        static_cast<ULONG>(key.n.size()), static_cast<ULONG>(key.p.size()),
                                        static_cast<ULONG>(key.q.size())});
  for (const auto* part : {&key.e, &key.n, &key.p, &key.q}) Append(blob, *part, part->size());
  Append(blob, key.dp, key.p.size());
  Append(blob, key.dq, key.q.size());
  Append(blob, key.qinv, key.p.size());
  Append(blob, key.d, key.n.size());
}

// Imports the blob and signs the digest; the kind of key names it in the
// reasons. A CNG without the algorithm or the import (Wine, for some
// curves) fails the signing; a key CNG refuses is unreadable.
KeySignature ImportAndSign(const wchar_t* algorithm, const wchar_t* blobType, const Wiped& blob, const char* kind,
                           const Sha256Bytes& digest, ULONG signatureSize, void* padding, ULONG flags) {
  CngAlgorithm provider;
  NTSTATUS status = ::BCryptOpenAlgorithmProvider(provider.Out(), algorithm, nullptr, 0);
  if (!BCRYPT_SUCCESS(status))
    return Failed(Outcome::SigningFailed, std::string("CNG nie podpisuje kluczem ") + kind + ": " +
                                              CngFailure("BCryptOpenAlgorithmProvider", status));
  CngKey key;
  status = ::BCryptImportKeyPair(provider.Get(), nullptr, blobType, key.Out(), const_cast<PUCHAR>(blob.data()),
                                 static_cast<ULONG>(blob.size()), 0);
  if (!BCRYPT_SUCCESS(status)) {
    const std::string reason = std::string(kind) + ": " + CngFailure("BCryptImportKeyPair", status);
    return CngLacks(status) ? Failed(Outcome::SigningFailed, "CNG nie przyjmuje klucza " + reason)
                            : Failed(Outcome::KeyUnreadable, "CNG odrzucił klucz " + reason);
  }
  // The signature's size is known from the key; not asked of CNG, since
  // Wine answers that question for ECDSA with half the size.
  KeySignature result;
  result.bytes.resize(signatureSize);
  ULONG size = 0;
  status = ::BCryptSignHash(key.Get(), padding, const_cast<PUCHAR>(digest.data()), static_cast<ULONG>(digest.size()),
                            result.bytes.data(), signatureSize, &size, flags);
  if (!BCRYPT_SUCCESS(status))
    return Failed(Outcome::SigningFailed, std::string(kind) + ": " + CngFailure("BCryptSignHash", status));
  result.bytes.resize(size);
  result.outcome = Outcome::Signed;
  return result;
}

}  // namespace

KeySignature SignWithPemKey(const std::string& pem, const std::string& password, std::string_view data) {
  CngKeyPrimitives primitives;
  DecodedKey decoded = DecodePemPrivateKey(pem, password, primitives);
  if (decoded.outcome == DecodedKey::Outcome::Unreadable) return Failed(Outcome::KeyUnreadable, decoded.detail);
  if (decoded.outcome == DecodedKey::Outcome::KindUnsupported)
    return Failed(Outcome::KeyKindUnsupported, decoded.detail);

  Sha256 sha;
  Sha256Bytes digest{};
  if (sha.StartFailure() != Sha256::Failure::None || !sha.Update(data.data(), data.size()) || !sha.Finish(digest))
    return Failed(Outcome::SigningFailed, "CNG nie policzył skrótu SHA-256 podpisywanych danych");

  Wiped blob;
  if (auto* ec = std::get_if<EcPrivateKey>(&decoded.key)) {
    const CurveAlgorithm curve = AlgorithmOf(ec->curve);
    EcBlob(*ec, curve.magic, blob);
    ::SecureZeroMemory(ec->d.data(), ec->d.size());
    // ECDSA in CNG is r followed by s already, each of the curve's size.
    const auto size = static_cast<ULONG>(2 * CurveBytes(ec->curve));
    KeySignature s = ImportAndSign(curve.algorithm, BCRYPT_ECCPRIVATE_BLOB, blob, curve.name, digest, size, nullptr, 0);
    if (s.outcome == Outcome::Signed && s.bytes.size() != size)
      return Failed(Outcome::SigningFailed, std::string(curve.name) + ": podpis CNG ma nieoczekiwaną długość");
    return s;
  }
  auto& rsa = std::get<RsaPrivateKey>(decoded.key);
  RsaBlob(rsa, blob);
  for (auto* secret : {&rsa.d, &rsa.p, &rsa.q, &rsa.dp, &rsa.dq, &rsa.qinv})
    ::SecureZeroMemory(secret->data(), secret->size());
  BCRYPT_PSS_PADDING_INFO pss{BCRYPT_SHA256_ALGORITHM, kPssSalt};
  const auto size = static_cast<ULONG>(rsa.n.size());
  KeySignature s = ImportAndSign(BCRYPT_RSA_ALGORITHM, BCRYPT_RSAFULLPRIVATE_BLOB, blob, "RSA", digest, size, &pss,
                                 BCRYPT_PAD_PSS);
  if (s.outcome == Outcome::Signed && s.bytes.size() != size)
    return Failed(Outcome::SigningFailed, "RSA: podpis CNG ma nieoczekiwaną długość");
  return s;
}

}  // namespace zuvprint::platform
