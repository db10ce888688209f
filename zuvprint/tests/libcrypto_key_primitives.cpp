#include "libcrypto_key_primitives.h"

#include <openssl/evp.h>

#include <memory>

namespace zuvprint::testing {

bool LibcryptoKeyPrimitives::Pbkdf2(Prf prf, platform::ByteView password, platform::ByteView salt,
                                    std::uint32_t iterations, std::span<std::uint8_t> out, std::string& failure) {
  const EVP_MD* md = prf == Prf::HmacSha256 ? EVP_sha256() : EVP_sha1();
  if (PKCS5_PBKDF2_HMAC(reinterpret_cast<const char*>(password.data()), static_cast<int>(password.size()), salt.data(),
                        static_cast<int>(salt.size()), static_cast<int>(iterations), md, static_cast<int>(out.size()),
                        out.data()) == 1)
    return true;
  failure = "PKCS5_PBKDF2_HMAC";
  return false;
}

bool LibcryptoKeyPrimitives::AesCbcDecrypt(platform::ByteView key, platform::ByteView iv, platform::ByteView input,
                                           std::vector<std::uint8_t>& out, std::string& failure) {
  const EVP_CIPHER* cipher = key.size() == 16   ? EVP_aes_128_cbc()
                             : key.size() == 24 ? EVP_aes_192_cbc()
                             : key.size() == 32 ? EVP_aes_256_cbc()
                                                : nullptr;
  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
  out.assign(input.size() + 16, 0);
  int n = 0, last = 0;
  if (cipher && iv.size() == 16 && ctx && EVP_DecryptInit_ex(ctx.get(), cipher, nullptr, key.data(), iv.data()) == 1 &&
      EVP_CIPHER_CTX_set_padding(ctx.get(), 0) == 1 &&
      EVP_DecryptUpdate(ctx.get(), out.data(), &n, input.data(), static_cast<int>(input.size())) == 1 &&
      EVP_DecryptFinal_ex(ctx.get(), out.data() + n, &last) == 1) {
    out.resize(static_cast<std::size_t>(n + last));
    return true;
  }
  failure = "EVP_Decrypt";
  return false;
}

bool LibcryptoKeyPrimitives::Md5(platform::ByteView data, std::array<std::uint8_t, 16>& digest, std::string& failure) {
  unsigned int size = 0;
  if (EVP_Digest(data.data(), data.size(), digest.data(), &size, EVP_md5(), nullptr) == 1 && size == 16) return true;
  failure = "EVP_Digest MD5";
  return false;
}

}  // namespace zuvprint::testing
