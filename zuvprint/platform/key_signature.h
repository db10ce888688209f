// Signing bytes with a private key given as PEM text, through the platform's
// cryptography: libcrypto on Linux; on Windows the program's own key reader
// (platform/private_key.h) and CNG.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zuvprint::platform {

struct KeySignature {
  enum class Outcome { Signed, KeyUnreadable, KeyKindUnsupported, SigningFailed };
  Outcome outcome = Outcome::SigningFailed;
  std::vector<std::uint8_t> bytes;  // the signature when Signed
  std::string detail;               // else the platform's reason, or the key's kind (UTF-8)
};

// Reads the key from pem (PKCS#8, encrypted or not, or the traditional form
// with its own encryption headers) with password (UTF-8, handed to the key
// decryption unchanged) and signs data:
//   EC key:   ECDSA over SHA-256, written as r followed by s, each padded to
//             the size of the curve's order (64 bytes for P-256);
//   RSA key:  RSASSA-PSS, SHA-256, MGF1 with SHA-256, a salt of 32 bytes.
// Never throws for a bad key, a wrong password or a failed signing.
KeySignature SignWithPemKey(const std::string& pem, const std::string& password, std::string_view data);

}  // namespace zuvprint::platform
