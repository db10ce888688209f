// The primitives of the key reader through CNG: PBKDF2 over an HMAC
// provider, AES in CBC mode without padding, and MD5.
#pragma once

#include "platform/key_primitives.h"

namespace zuvprint::platform {

class CngKeyPrimitives : public KeyPrimitives {
 public:
  bool Pbkdf2(Prf prf, ByteView password, ByteView salt, std::uint32_t iterations, std::span<std::uint8_t> out,
              std::string& failure) override;
  bool AesCbcDecrypt(ByteView key, ByteView iv, ByteView input, std::vector<std::uint8_t>& out,
                     std::string& failure) override;
  bool Md5(ByteView data, std::array<std::uint8_t, 16>& digest, std::string& failure) override;
};

}  // namespace zuvprint::platform
