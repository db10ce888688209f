// The reader of PEM private keys: PEM text as it is, or DER that the first
// byte wraps in one of the PEM forms (with encryption headers for some).
// The primitives are trivial and deterministic — decryption copies its
// input — so that encrypted input reaches the key structures too.
#include <cstdlib>
#include <string>

#include "ksef/crypto.h"
#include "platform/private_key.h"

namespace {

using namespace zuvprint::platform;

class CopyingPrimitives : public KeyPrimitives {
 public:
  bool Pbkdf2(Prf, ByteView, ByteView, std::uint32_t, std::span<std::uint8_t> out, std::string&) override {
    for (auto& b : out) b = 0;
    return true;
  }
  bool AesCbcDecrypt(ByteView key, ByteView iv, ByteView input, std::vector<std::uint8_t>& out,
                     std::string&) override {
    if ((key.size() != 16 && key.size() != 24 && key.size() != 32) || iv.size() != 16 || input.size() % 16)
      std::abort();  // the reader hands on only what AES takes
    out.assign(input.begin(), input.end());
    return true;
  }
  bool Md5(ByteView, std::array<std::uint8_t, 16>& digest, std::string&) override {
    digest.fill(0);
    return true;
  }
};

std::string Wrapped(const std::uint8_t* data, std::size_t size) {
  static const char* const kLabels[] = {"PRIVATE KEY", "ENCRYPTED PRIVATE KEY", "EC PRIVATE KEY", "RSA PRIVATE KEY",
                                        "EC PRIVATE KEY", "RSA PRIVATE KEY"};
  const int form = data[0] % 6;
  const std::string label = kLabels[form];
  std::string pem = "-----BEGIN " + label + "-----\n";
  if (form == 4) pem += "Proc-Type: 4,ENCRYPTED\nDEK-Info: AES-256-CBC,000102030405060708090A0B0C0D0E0F\n\n";
  if (form == 5) pem += "Proc-Type: 4,ENCRYPTED\nDEK-Info: AES-128-CBC,000102030405060708090A0B0C0D0E0F\n\n";
  const std::string b64 = zuvprint::EncodeBase64(std::span<const std::uint8_t>(data + 1, size - 1));
  for (std::size_t i = 0; i < b64.size(); i += 64) pem += b64.substr(i, 64) + "\n";
  return pem + "-----END " + label + "-----\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string pem = data[0] == '-' ? std::string(reinterpret_cast<const char*>(data), size) : Wrapped(data, size);
  CopyingPrimitives primitives;
  DecodedKey key = DecodePemPrivateKey(pem, "haslo", primitives);
  if (key.outcome != DecodedKey::Outcome::Ok) {
    if (key.detail.empty() || key.key.index() != 0) std::abort();
    return 0;
  }
  if (const auto* ec = std::get_if<EcPrivateKey>(&key.key)) {
    const std::size_t n = CurveBytes(ec->curve);
    if (ec->d.size() != n || ec->x.size() != n || ec->y.size() != n) std::abort();
  } else if (const auto* rsa = std::get_if<RsaPrivateKey>(&key.key)) {
    if (rsa->n.empty() || rsa->n[0] == 0 || rsa->d.size() > rsa->n.size() || rsa->dp.size() > rsa->p.size() ||
        rsa->dq.size() > rsa->q.size() || rsa->qinv.size() > rsa->p.size())
      std::abort();
  } else {
    std::abort();
  }
  return 0;
}
