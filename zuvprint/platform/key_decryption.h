// The two ways a PEM private key is encrypted: PKCS#8's
// EncryptedPrivateKeyInfo with PBES2 (PBKDF2, AES-CBC) and OpenSSL's
// traditional headers (DEK-Info, a key from EVP_BytesToKey over MD5).
// Both leave the DER of the key, its padding checked and removed; any
// failure, a wrong password included, is a reason in failure.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/key_primitives.h"

namespace zuvprint::platform {

// PBKDF2 iterations beyond this are taken for an attempt to stall the
// program: keys of OpenSSL have 2048, cautious ones a few hundred thousand.
inline constexpr std::uint64_t kMaxPbkdf2Iterations = 10'000'000;

std::optional<std::vector<std::uint8_t>> DecryptPkcs8(ByteView der, std::string_view password,
                                                      KeyPrimitives& primitives, std::string& failure);

// dekInfo is the value of the DEK-Info header, "AES-256-CBC,<iv in hex>".
std::optional<std::vector<std::uint8_t>> DecryptTraditional(ByteView encrypted, std::string_view dekInfo,
                                                            std::string_view password, KeyPrimitives& primitives,
                                                            std::string& failure);

}  // namespace zuvprint::platform
