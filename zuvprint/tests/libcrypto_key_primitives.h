// The primitives of the key reader over libcrypto's EVP calls, so that the
// portable reader is tested on Linux against the real algorithms.
#pragma once

#include "platform/key_primitives.h"

namespace zuvprint::testing {

class LibcryptoKeyPrimitives : public platform::KeyPrimitives {
 public:
  bool Pbkdf2(Prf prf, platform::ByteView password, platform::ByteView salt, std::uint32_t iterations,
              std::span<std::uint8_t> out, std::string& failure) override;
  bool AesCbcDecrypt(platform::ByteView key, platform::ByteView iv, platform::ByteView input,
                     std::vector<std::uint8_t>& out, std::string& failure) override;
  bool Md5(platform::ByteView data, std::array<std::uint8_t, 16>& digest, std::string& failure) override;
};

}  // namespace zuvprint::testing
