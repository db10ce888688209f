// The few cryptographic primitives that reading an encrypted private key
// needs, given by the platform (CNG on Windows; libcrypto in the tests).
// Everything else about such a key — its structure, the choice of the
// algorithms, the check of the padding — is the portable reader's.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zuvprint::platform {

using ByteView = std::span<const std::uint8_t>;

class KeyPrimitives {
 public:
  enum class Prf { HmacSha1, HmacSha256 };

  virtual ~KeyPrimitives() = default;

  // PBKDF2 with HMAC over prf: fills out (its size is the key length).
  // On failure answers false and a reason in failure (UTF-8).
  virtual bool Pbkdf2(Prf prf, ByteView password, ByteView salt, std::uint32_t iterations,
                      std::span<std::uint8_t> out, std::string& failure) = 0;

  // AES in CBC mode with a key of 16, 24 or 32 bytes and a 16-byte iv:
  // decrypts input (whole blocks) into out, of the same size, and leaves
  // the padding in place.
  virtual bool AesCbcDecrypt(ByteView key, ByteView iv, ByteView input, std::vector<std::uint8_t>& out,
                             std::string& failure) = 0;

  virtual bool Md5(ByteView data, std::array<std::uint8_t, 16>& digest, std::string& failure) = 0;
};

}  // namespace zuvprint::platform
