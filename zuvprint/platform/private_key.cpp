// The PEM forms of a private key, each to its decryption and its structure.
#include "platform/private_key.h"

#include "platform/key_decryption.h"
#include "platform/key_structures.h"
#include "platform/pem_text.h"

namespace zuvprint::platform {
namespace {

DecodedKey Unreadable(std::string detail) {
  DecodedKey k;
  k.outcome = DecodedKey::Outcome::Unreadable;
  k.detail = std::move(detail);
  return k;
}

// A wrong password that passes the padding check (one time in about 256)
// leaves bytes that are no key: said so, not as a damaged structure.
DecodedKey AfterDecryption(DecodedKey key) {
  if (key.outcome == DecodedKey::Outcome::Unreadable) key.detail = "złe hasło: odszyfrowana treść nie jest kluczem (" + key.detail + ")";
  return key;
}

}  // namespace

DecodedKey DecodePemPrivateKey(std::string_view pem, std::string_view password, KeyPrimitives& primitives) {
  const std::vector<PemBlock> blocks = ReadPemBlocks(pem);
  const PemBlock* block = nullptr;
  for (const auto& b : blocks) {  // others (EC PARAMETERS, CERTIFICATE) may stand beside the key
    if (b.label.ends_with("PRIVATE KEY")) {
      block = &b;
      break;
    }
  }
  if (!block) return Unreadable("brak klucza prywatnego w postaci PEM (-----BEGIN … PRIVATE KEY-----)");
  auto der = DecodeBase64(block->body);
  if (!der) return Unreadable("uszkodzony zapis base64 klucza PEM");

  const std::string& label = block->label;
  std::string failure;
  if (label == "PRIVATE KEY") return ReadPrivateKeyInfo(*der);
  if (label == "ENCRYPTED PRIVATE KEY") {
    auto plain = DecryptPkcs8(*der, password, primitives, failure);
    return plain ? AfterDecryption(ReadPrivateKeyInfo(*plain)) : Unreadable(failure);
  }
  DecodedKey (*read)(ByteView) = nullptr;
  if (label == "EC PRIVATE KEY") read = ReadEcPrivateKey;
  if (label == "RSA PRIVATE KEY") read = ReadRsaPrivateKey;
  if (!read) {
    DecodedKey k;
    k.outcome = DecodedKey::Outcome::KindUnsupported;
    k.detail = label.substr(0, label.size() - std::string_view(" PRIVATE KEY").size());
    if (k.detail.empty()) k.detail = label;
    return k;
  }
  auto procType = block->Header("Proc-Type");
  if (!procType || procType->find("ENCRYPTED") == std::string_view::npos) return read(*der);
  auto dekInfo = block->Header("DEK-Info");
  if (!dekInfo) return Unreadable("zaszyfrowany klucz PEM bez nagłówka DEK-Info");
  auto plain = DecryptTraditional(*der, *dekInfo, password, primitives, failure);
  return plain ? AfterDecryption(read(*plain)) : Unreadable(failure);
}

}  // namespace zuvprint::platform
