// The DER structures of a private key once it is decrypted: PKCS#8's
// PrivateKeyInfo and the EC (SEC 1) and RSA (PKCS#1) keys it holds, which
// are also the traditional PEM forms.
#pragma once

#include "platform/key_primitives.h"
#include "platform/private_key.h"

namespace zuvprint::platform {

// Each reads exactly one element that fills der.
DecodedKey ReadPrivateKeyInfo(ByteView der);
DecodedKey ReadEcPrivateKey(ByteView der);
DecodedKey ReadRsaPrivateKey(ByteView der);

}  // namespace zuvprint::platform
