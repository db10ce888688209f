#include "platform/windows/cng_key_primitives.h"

#include "platform/windows/cng.h"

namespace zuvprint::platform {
namespace {

// CNG takes its inputs through non-const pointers, and a pointer even for
// no bytes.
PUCHAR In(ByteView bytes) {
  static UCHAR none = 0;
  return bytes.empty() ? &none : const_cast<PUCHAR>(bytes.data());
}

bool Check(NTSTATUS status, const char* call, std::string& failure) {
  if (BCRYPT_SUCCESS(status)) return true;
  failure = CngFailure(call, status);
  return false;
}

}  // namespace

bool CngKeyPrimitives::Pbkdf2(Prf prf, ByteView password, ByteView salt, std::uint32_t iterations,
                              std::span<std::uint8_t> out, std::string& failure) {
  CngAlgorithm hmac;
  const wchar_t* hash = prf == Prf::HmacSha256 ? BCRYPT_SHA256_ALGORITHM : BCRYPT_SHA1_ALGORITHM;
  return Check(::BCryptOpenAlgorithmProvider(hmac.Out(), hash, nullptr, BCRYPT_ALG_HANDLE_HMAC_FLAG),
               "BCryptOpenAlgorithmProvider (HMAC)", failure) &&
         Check(::BCryptDeriveKeyPBKDF2(hmac.Get(), In(password), static_cast<ULONG>(password.size()), In(salt),
                                       static_cast<ULONG>(salt.size()), iterations, out.data(),
                                       static_cast<ULONG>(out.size()), 0),
               "BCryptDeriveKeyPBKDF2", failure);
}

bool CngKeyPrimitives::AesCbcDecrypt(ByteView key, ByteView iv, ByteView input, std::vector<std::uint8_t>& out,
                                     std::string& failure) {
  CngAlgorithm aes;
  CngKey handle;
  if (!Check(::BCryptOpenAlgorithmProvider(aes.Out(), BCRYPT_AES_ALGORITHM, nullptr, 0),
             "BCryptOpenAlgorithmProvider (AES)", failure) ||
      !Check(::BCryptSetProperty(aes.Get(), BCRYPT_CHAINING_MODE,
                                 reinterpret_cast<PUCHAR>(const_cast<wchar_t*>(BCRYPT_CHAIN_MODE_CBC)),
                                 sizeof(BCRYPT_CHAIN_MODE_CBC), 0),
             "BCryptSetProperty (CBC)", failure) ||
      !Check(::BCryptGenerateSymmetricKey(aes.Get(), handle.Out(), nullptr, 0, In(key), static_cast<ULONG>(key.size()), 0),
             "BCryptGenerateSymmetricKey", failure))
    return false;
  std::vector<UCHAR> chain(iv.begin(), iv.end());  // CNG updates the IV in place
  out.assign(input.size(), 0);
  ULONG written = 0;
  if (!Check(::BCryptDecrypt(handle.Get(), In(input), static_cast<ULONG>(input.size()), nullptr, chain.data(),
                             static_cast<ULONG>(chain.size()), out.data(), static_cast<ULONG>(out.size()), &written, 0),
             "BCryptDecrypt", failure))
    return false;
  out.resize(written);
  return true;
}

bool CngKeyPrimitives::Md5(ByteView data, std::array<std::uint8_t, 16>& digest, std::string& failure) {
  CngAlgorithm md5;
  CngHash hash;
  return Check(::BCryptOpenAlgorithmProvider(md5.Out(), BCRYPT_MD5_ALGORITHM, nullptr, 0),
               "BCryptOpenAlgorithmProvider (MD5)", failure) &&
         Check(::BCryptCreateHash(md5.Get(), hash.Out(), nullptr, 0, nullptr, 0, 0), "BCryptCreateHash (MD5)", failure) &&
         Check(::BCryptHashData(hash.Get(), In(data), static_cast<ULONG>(data.size()), 0), "BCryptHashData (MD5)",
               failure) &&
         Check(::BCryptFinishHash(hash.Get(), digest.data(), static_cast<ULONG>(digest.size()), 0),
               "BCryptFinishHash (MD5)", failure);
}

}  // namespace zuvprint::platform
