// Private keys read from PEM text by the program's own code, for platforms
// whose cryptography signs with a key it is handed as numbers (CNG): the
// PEM armour, PKCS#8 plain or encrypted (PBES2), the traditional
// "EC PRIVATE KEY" and "RSA PRIVATE KEY" forms plain or with OpenSSL's
// encryption headers, and the EC and RSA keys inside.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/key_primitives.h"

namespace zuvprint::platform {

enum class EcCurve { P256, P384, P521 };

// Size in bytes of a coordinate, and of the private scalar, on curve.
std::size_t CurveBytes(EcCurve curve);

// Each number big-endian, padded to CurveBytes.
struct EcPrivateKey {
  EcCurve curve = EcCurve::P256;
  std::vector<std::uint8_t> d, x, y;
};

// Each number big-endian without leading zero bytes.
struct RsaPrivateKey {
  std::vector<std::uint8_t> n, e, d, p, q, dp, dq, qinv;
};

struct DecodedKey {
  enum class Outcome { Ok, Unreadable, KindUnsupported };
  Outcome outcome = Outcome::Unreadable;
  std::string detail;  // when not Ok: the reason, or the key's kind (UTF-8)
  std::variant<std::monostate, EcPrivateKey, RsaPrivateKey> key;
};

// Reads the first private key of pem. password is handed to the key
// derivation as it is: its bytes (UTF-8), as OpenSSL does. A wrong password
// shows as Unreadable, an algorithm other than EC and RSA as
// KindUnsupported with its name or dotted OID. Never throws for bad input.
DecodedKey DecodePemPrivateKey(std::string_view pem, std::string_view password, KeyPrimitives& primitives);

}  // namespace zuvprint::platform
