#include "platform/key_structures.h"

#include <optional>
#include <string>

#include "platform/der_reader.h"

namespace zuvprint::platform {
namespace {

using der::Bytes;
using der::Reader;

constexpr std::string_view kEcPublicKey = "1.2.840.10045.2.1";
constexpr std::string_view kRsaEncryption = "1.2.840.113549.1.1.1";
constexpr std::string_view kRsassaPss = "1.2.840.113549.1.1.10";
constexpr std::size_t kMaxRsaBytes = 16384 / 8;  // the largest RSA key CNG takes

struct CurveOid {
  std::string_view oid;
  EcCurve curve;
};
constexpr CurveOid kCurves[] = {
    {"1.2.840.10045.3.1.7", EcCurve::P256},
    {"1.3.132.0.34", EcCurve::P384},
    {"1.3.132.0.35", EcCurve::P521},
};

// Names of other key algorithms, as OpenSSL calls them.
struct AlgorithmName {
  std::string_view oid;
  std::string_view name;
};
constexpr AlgorithmName kOtherAlgorithms[] = {
    {"1.3.101.110", "X25519"},          {"1.3.101.111", "X448"},          {"1.3.101.112", "ED25519"},
    {"1.3.101.113", "ED448"},           {"1.2.840.10040.4.1", "DSA"},     {"1.2.840.113549.1.3.1", "DH"},
    {"1.2.840.10046.2.1", "X9.42 DH"},  {"1.2.156.10197.1.301", "SM2"},
};

DecodedKey Unreadable(std::string detail) {
  DecodedKey k;
  k.outcome = DecodedKey::Outcome::Unreadable;
  k.detail = std::move(detail);
  return k;
}

DecodedKey Unsupported(std::string detail) {
  DecodedKey k;
  k.outcome = DecodedKey::Outcome::KindUnsupported;
  k.detail = std::move(detail);
  return k;
}

// The only element of der, as a reader of its content.
std::optional<Reader> WholeSequence(ByteView der) {
  Reader outer(der);
  auto seq = outer.Sequence();
  if (!seq || !outer.AtEnd()) return std::nullopt;
  return seq;
}

std::vector<std::uint8_t> Copy(Bytes b) { return {b.begin(), b.end()}; }

// magnitude as exactly size bytes, or nothing when it does not fit.
std::optional<std::vector<std::uint8_t>> Padded(Bytes magnitude, std::size_t size) {
  while (!magnitude.empty() && magnitude[0] == 0) magnitude = magnitude.subspan(1);
  if (magnitude.size() > size) return std::nullopt;
  std::vector<std::uint8_t> out(size - magnitude.size(), 0);
  out.insert(out.end(), magnitude.begin(), magnitude.end());
  return out;
}

// The curve named by a parameters element (namedCurve OID), its outcome
// when the element names none we sign with.
std::optional<EcCurve> CurveOf(const std::string& oid, DecodedKey& failure) {
  for (const auto& c : kCurves)
    if (c.oid == oid) return c.curve;
  failure = Unsupported("EC, krzywa " + oid);
  return std::nullopt;
}

// An EC key's parameters: a named curve; explicit curve parameters are
// refused (nothing that signs with a named curve writes them).
std::optional<EcCurve> ReadCurveParameters(Reader& params, DecodedKey& failure) {
  auto oid = params.ObjectIdentifier();
  if (!oid) {
    failure = params.PeekTag() == der::kSequence ? Unsupported("EC z jawnymi parametrami krzywej")
                                                   : Unreadable("nieczytelne parametry krzywej klucza EC");
    return std::nullopt;
  }
  return CurveOf(*oid, failure);
}

DecodedKey ReadEc(ByteView der, std::optional<EcCurve> fromAlgorithm) {
  auto key = WholeSequence(der);
  if (!key) return Unreadable("nieczytelna struktura klucza EC");
  auto version = key->SmallInteger();
  auto scalar = key->OctetString();
  if (!version || *version != 1 || !scalar) return Unreadable("nieczytelna struktura klucza EC");

  std::optional<EcCurve> curve = fromAlgorithm;
  if (key->PeekTag() == (der::kContextConstructed | 0)) {
    auto params = key->Explicit(0);
    if (!params) return Unreadable("nieczytelne parametry krzywej klucza EC");
    DecodedKey failure;
    auto own = ReadCurveParameters(*params, failure);
    if (!own) return failure;
    if (curve && *curve != *own) return Unreadable("klucz EC podaje dwie różne krzywe");
    curve = own;
  }
  if (!curve) return Unreadable("klucz EC nie podaje krzywej");

  std::optional<Bytes> point;
  if (key->PeekTag() == (der::kContextConstructed | 1)) {
    auto pub = key->Explicit(1);
    if (!pub || !(point = pub->BitString()) || !pub->AtEnd()) return Unreadable("nieczytelny klucz publiczny EC");
  }
  if (!key->AtEnd()) return Unreadable("nieczytelna struktura klucza EC");

  const std::size_t size = CurveBytes(*curve);
  EcPrivateKey ec;
  ec.curve = *curve;
  auto d = Padded(*scalar, size);
  if (!d || *d == std::vector<std::uint8_t>(size, 0)) return Unreadable("niepoprawny skalar prywatny klucza EC");
  ec.d = std::move(*d);
  // CNG takes the public point beside the scalar; every key that OpenSSL
  // writes carries it. Working it out from the scalar is left to no one.
  if (!point) return Unreadable("klucz EC bez punktu publicznego (openssl zapisuje go w kluczu)");
  if (point->empty() || (*point)[0] != 0x04) return Unreadable("punkt publiczny klucza EC nie jest w postaci pełnej");
  if (point->size() != 1 + 2 * size) return Unreadable("punkt publiczny klucza EC ma złą długość");
  ec.x.assign(point->begin() + 1, point->begin() + 1 + static_cast<std::ptrdiff_t>(size));
  ec.y.assign(point->begin() + 1 + static_cast<std::ptrdiff_t>(size), point->end());

  DecodedKey result;
  result.outcome = DecodedKey::Outcome::Ok;
  result.key = std::move(ec);
  return result;
}

}  // namespace

std::size_t CurveBytes(EcCurve curve) {
  switch (curve) {
    case EcCurve::P256: return 32;
    case EcCurve::P384: return 48;
    case EcCurve::P521: return 66;
  }
  return 0;
}

DecodedKey ReadEcPrivateKey(ByteView der) { return ReadEc(der, std::nullopt); }

DecodedKey ReadRsaPrivateKey(ByteView der) {
  auto key = WholeSequence(der);
  if (!key) return Unreadable("nieczytelna struktura klucza RSA");
  auto version = key->SmallInteger();
  if (!version) return Unreadable("nieczytelna struktura klucza RSA");
  if (*version != 0) return Unsupported("RSA z więcej niż dwiema liczbami pierwszymi");
  std::optional<Bytes> parts[8];
  for (auto& part : parts)
    if (!(part = key->UnsignedInteger())) return Unreadable("nieczytelna struktura klucza RSA");
  if (!key->AtEnd()) return Unreadable("nieczytelna struktura klucza RSA");

  RsaPrivateKey rsa{Copy(*parts[0]), Copy(*parts[1]), Copy(*parts[2]), Copy(*parts[3]),
                    Copy(*parts[4]), Copy(*parts[5]), Copy(*parts[6]), Copy(*parts[7])};
  if (rsa.n.size() > kMaxRsaBytes) return Unsupported("RSA dłuższy niż 16384 bity");
  // The sizes that a key blob gives its numbers: the CRT numbers never
  // exceed their prime, nor d the modulus.
  if (rsa.n.empty() || rsa.e.empty() || rsa.d.empty() || rsa.p.empty() || rsa.q.empty() ||
      rsa.d.size() > rsa.n.size() || rsa.dp.size() > rsa.p.size() || rsa.dq.size() > rsa.q.size() ||
      rsa.qinv.size() > rsa.p.size() || rsa.e.size() > rsa.n.size())
    return Unreadable("niespójne liczby klucza RSA");
  DecodedKey result;
  result.outcome = DecodedKey::Outcome::Ok;
  result.key = std::move(rsa);
  return result;
}

DecodedKey ReadPrivateKeyInfo(ByteView der) {
  auto info = WholeSequence(der);
  std::optional<std::uint64_t> version;
  std::optional<Reader> algorithm;
  std::optional<std::string> oid;
  if (!info || !(version = info->SmallInteger()) || *version > 1 || !(algorithm = info->Sequence()) ||
      !(oid = algorithm->ObjectIdentifier()))
    return Unreadable("nieczytelna struktura PKCS#8");
  auto inner = info->OctetString();
  if (!inner) return Unreadable("nieczytelna struktura PKCS#8");
  // Attributes [0] and the public key [1] of version 2 are not needed.
  while (!info->AtEnd()) {
    auto extra = info->Next();
    if (!extra || (extra->tag & 0xC0) != 0x80) return Unreadable("nieczytelna struktura PKCS#8");
  }

  if (*oid == kEcPublicKey) {
    DecodedKey failure;
    std::optional<EcCurve> curve;
    if (!algorithm->AtEnd() && !(curve = ReadCurveParameters(*algorithm, failure))) return failure;
    if (!algorithm->AtEnd()) return Unreadable("nieczytelna struktura PKCS#8");
    return ReadEc(*inner, curve);
  }
  if (*oid == kRsaEncryption || *oid == kRsassaPss) return ReadRsaPrivateKey(*inner);
  for (const auto& a : kOtherAlgorithms)
    if (a.oid == *oid) return Unsupported(std::string(a.name));
  return Unsupported(*oid);
}

}  // namespace zuvprint::platform
